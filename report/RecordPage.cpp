#include "report/RecordPage.h"

#include "report/MarkupText.h"
#include "device/ParameterTexts.h"

namespace {

// Two columns of sections above the picture keep the page on one A4 sheet.
const char* const Css = "@page{size:A4;margin:14mm}"
                        "body{font-family:'Liberation Sans',Arial,Helvetica,sans-serif;font-size:10pt;"
                        "color:#222;max-width:182mm;margin:0 auto}"
                        "h1{font-size:15pt;margin:0 0 2pt}"
                        "p.subtitle{margin:0 0 8pt;color:#555}"
                        "div.sections{columns:2;column-gap:8mm}"
                        "section{break-inside:avoid;margin:0 0 6pt}"
                        "h2{font-size:11pt;margin:0 0 2pt;border-bottom:1px solid #999}"
                        "table{border-collapse:collapse;width:100%}"
                        "th{text-align:left;font-weight:normal;color:#555;width:42%;padding:1pt 4pt 1pt 0}"
                        "td{padding:1pt 0}"
                        ".failed{color:#b00000;font-weight:bold}"
                        "figure{margin:6pt 0 0;break-inside:avoid}"
                        "figure svg{width:100%;height:auto;max-height:95mm}"
                        "p.note{margin:2pt 0;color:#444}"
                        "@media screen{body{padding:8mm 0}}";

void appendSection(std::string& html, const RecordPage::Section& section)
{
    html += "<section><h2>" + escapeMarkup(section.heading) + "</h2><table>\n";
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
                       escapeMarkup(page.title) + "</title>\n<style>" + Css + "</style>\n</head>\n<body>\n";
    html += "<h1>" + escapeMarkup(page.title) + "</h1>\n";
    if (!page.subtitle.empty())
        html += "<p class=\"subtitle\">" + escapeMarkup(page.subtitle) + "</p>\n";
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
    html += "</body>\n</html>\n";
    return html;
}
