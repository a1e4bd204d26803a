#include "config/WriteOutcome.h"

#include "device/ParameterTable.h"
#include "device/DryRunTransport.h"
#include "framework/NumberText.h"

namespace {

std::vector<LinkTransaction> writesOf(const std::vector<LinkTransaction>& journal)
{
    std::vector<LinkTransaction> writes;
    for (const LinkTransaction& t : journal)
        if (t.write)
            writes.push_back(t);
    return writes;
}

// "Segment, Segment, Segment" reads as "Segment ×3".
std::string listText(const std::vector<std::string>& names)
{
    std::string text;
    for (std::size_t i = 0; i < names.size();) {
        std::size_t same = 1;
        while (i + same < names.size() && names[i + same] == names[i])
            ++same;
        text += (text.empty() ? "" : ", ") + names[i] + (same > 1 ? " ×" + std::to_string(same) : "");
        i += same;
    }
    return text;
}

} // namespace

std::string requestName(std::uint8_t code)
{
    if (const protocol::ParameterInfo* info = protocol::findParameter(code))
        return std::string(info->name);
    return "0x" + number_text::HexDigits(code, 2);
}

std::vector<std::string> WriteOutcome::lines(const std::string& finish) const
{
    std::vector<std::string> out;
    if (!confirmed.empty())
        out.push_back("confirmed: " + listText(confirmed));
    if (!unconfirmed.empty())
        out.push_back("not confirmed (sent, no proper echo; the converter may or may not hold it): " +
                      listText(unconfirmed));
    if (!refused.empty())
        out.push_back("refused by the converter (NAK): " + listText(refused));
    if (!notSent.empty())
        out.push_back("never sent: " + listText(notSent));
    if (!complete())
        out.push_back("the converter may now be half configured; to finish the job run: " + finish);
    return out;
}

bool runJournalled(ConverterLink& link, const std::function<void(ConverterLink&)>& sequence, WriteOutcome& out)
{
    ConverterLink dry(std::make_unique<DryRunTransport>());
    dry.startJournal();
    sequence(dry);
    const std::vector<LinkTransaction> planned = writesOf(dry.stopJournal());

    link.startJournal();
    sequence(link);
    const std::vector<LinkTransaction> done = writesOf(link.stopJournal());

    out = WriteOutcome{};
    for (const LinkTransaction& t : done) {
        const std::string name = requestName(t.code);
        switch (t.outcome) {
        case LinkFailure::None:
            out.confirmed.push_back(name);
            break;
        case LinkFailure::Silent:
        case LinkFailure::Broken:
            out.unconfirmed.push_back(name);
            break;
        case LinkFailure::Nak:
            out.refused.push_back(name);
            break;
        case LinkFailure::NotSent:
        case LinkFailure::Stopped:
            out.notSent.push_back(name);
            break;
        }
    }
    for (std::size_t i = done.size(); i < planned.size(); ++i)
        out.notSent.push_back(requestName(planned[i].code));
    return out.complete();
}

Json writeOutcomeJson(const WriteOutcome& outcome)
{
    return Json{{"confirmed", outcome.confirmed},
                {"unconfirmed", outcome.unconfirmed},
                {"refused", outcome.refused},
                {"notSent", outcome.notSent}};
}
