#include "report/RecordPage.h"

#include "report/MarkupText.h"
#include "device/ParameterTexts.h"

namespace {

// Two columns of sections above the picture keep the page on one A4 sheet.
const char* const PageCss = "@page{size:A4;margin:14mm}"
                        "body{font-family:'Liberation Sans',Arial,Helvetica,sans-serif;font-size:10pt;"
                        "color:#222;max-width:182mm;margin:0 auto}"
                        "h1{font-size:15pt;margin:0 0 2pt}"
                        "p.subtitle{margin:0 0 8pt;color:#555}"
                        "div.sections{columns:2;column-gap:8mm}"
                        "section{break-inside:avoid;margin:0 0 6pt}"
                        "h2{font-size:11pt;margin:0 0 2pt;border-bottom:1px solid #999}"
                        "table{border-collapse:collapse;width:100%}"
                        "th{text-align:left;font-weight:normal;color:#555;width:42%;padding:1pt 4pt 1pt 0}"
                        "td{padding:1pt 0;overflow-wrap:anywhere}"
                        "section.point th{width:18%;vertical-align:top}"
                        "section.point td{white-space:pre-line}"
                        ".failed{color:#b00000;font-weight:bold}"
                        "figure{margin:6pt 0 0;break-inside:avoid}"
                        "figure svg{width:100%;height:auto;max-height:58mm}"
                        "p.note{margin:2pt 0;color:#444}"
                        "div.signers{display:flex;gap:8mm;margin:8pt 0 0;break-inside:avoid}"
                        "div.signers section{flex:1;min-width:0}"
                        "div.signers th{width:4.5em}"
                        "div.signers td{border-bottom:1px solid #222;height:6.5mm;vertical-align:bottom}"
                        "@media screen{body{padding:8mm 0}}";

void appendSection(std::string& html, const RecordPage::Section& section, const char* opening = "<section>")
{
    html += opening + std::string("<h2>") + escapeMarkup(section.heading) + "</h2><table>\n";
    for (const auto& row : section.rows) {
        html += "<tr><th>" + escapeMarkup(row.label) + "</th>";
        if (row.failed)
            html += "<td class=\"failed\">" + escapeMarkup(parameter_texts::CommunicationErrorText) + "</td>";
        else
            html += "<td>" + escapeMarkup(row.value) + "</td>";
        html += "</tr>\n";
    }
    html += "</table></section>\n";
}

} // namespace

std::string recordPageHtml(const RecordPage& page)
{
    std::string html = "<!DOCTYPE html>\n<html lang=\"cs\">\n<head>\n<meta charset=\"utf-8\"/>\n<title>" +
                       escapeMarkup(page.title) + "</title>\n<style>" + PageCss + "</style>\n</head>\n<body>\n";
    html += "<h1>" + escapeMarkup(page.title) + "</h1>\n";
    if (!page.subtitle.empty())
        html += "<p class=\"subtitle\">" + escapeMarkup(page.subtitle) + "</p>\n";
    if (!page.measuringPoint.rows.empty())
        appendSection(html, page.measuringPoint, "<section class=\"point\">");
    html += "<div class=\"sections\">\n";
    for (const auto& section : page.sections)
        appendSection(html, section);
    html += "</div>\n";
    if (!page.pictureHeading.empty() || !page.pictureSvg.empty() || page.pictureFailed) {
        html += "<figure><h2>" + escapeMarkup(page.pictureHeading) + "</h2>\n" + page.pictureSvg;
        if (page.pictureFailed)
            html += "<p class=\"failed\">" + escapeMarkup(parameter_texts::CommunicationErrorText) + "</p>\n";
        for (const auto& note : page.pictureNotes)
            html += "<p class=\"note\">" + escapeMarkup(note) + "</p>\n";
        html += "</figure>\n";
    }
    for (const auto& note : page.notes)
        html += "<p class=\"note\">" + escapeMarkup(note) + "</p>\n";
    if (!page.signers.empty()) {
        html += "<div class=\"signers\">\n";
        for (const auto& signer : page.signers)
            html += "<section><h2>" + escapeMarkup(signer.heading) + "</h2><table>\n<tr><th>Jméno</th><td>" +
                    escapeMarkup(signer.name) + "</td></tr>\n<tr><th>Datum</th><td></td></tr>\n"
                    "<tr><th>Podpis</th><td></td></tr>\n</table></section>\n";
        html += "</div>\n";
    }
    html += "</body>\n</html>\n";
    return html;
}
