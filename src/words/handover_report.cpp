#include "words/handover_report.h"

#include "words/site_words.h"

namespace tarnel::words {
namespace {

using messages::Format;

// What marks a page as ours, near its start.
constexpr std::string_view kGenerator = R"(<meta name="generator" content="Tarnel handover report">)";

constexpr const char* kStyle = R"(<style>
@page { size: A4 portrait; margin: 14mm 12mm; }
body { font-family: sans-serif; font-size: 9.5pt; color: #000; background: #fff; margin: 0; }
h1 { font-size: 16pt; margin: 0 0 3mm; }
h2 { font-size: 12pt; margin: 6mm 0 2mm; break-after: avoid; }
table { border-collapse: collapse; width: 100%; }
th, td { border: 0.5pt solid #000; padding: 0.8mm 1.5mm; text-align: left; vertical-align: top; }
th { background: #e6e6e6; }
thead { display: table-header-group; }
tbody, tr { break-inside: avoid; }
table.facts { width: auto; }
table.totals { table-layout: fixed; }
table.facts th { background: none; border: none; padding-left: 0; }
table.facts td { border: none; }
td.number { text-align: right; }
td.mark { text-align: center; width: 4mm; font-weight: bold; }
tr.attention td { font-weight: bold; }
tr.earlier td { font-size: 8pt; font-style: italic; border-top: none; }
ul.attention li { margin: 1mm 0; break-inside: avoid; }
table.signatures td { height: 30mm; width: 50%; }
table.signatures p { margin: 0 0 6mm; }
</style>
)";

std::string Escaped(std::string_view text)
{
    std::string escaped;
    for (const char c : text) {
        switch (c) {
        case '&': escaped += "&amp;"; break;
        case '<': escaped += "&lt;"; break;
        case '>': escaped += "&gt;"; break;
        case '"': escaped += "&quot;"; break;
        case '\'': escaped += "&#39;"; break;
        default: escaped += c; break;
        }
    }
    return escaped;
}

// An element holding `text`, escaped.
std::string Element(const char* tag, std::string_view text, const char* attributes = "")
{
    return Format("<%s%s>", tag, attributes) + Escaped(text) + Format("</%s>", tag);
}

// "2026-12-08 09:38"
std::string Shown(const site::RecordTime& time)
{
    std::string text = site::IsoText(time).substr(0, 16);
    text[10] = ' ';
    return text;
}

std::string Dates(const site::Handover& handover)
{
    if (!handover.span) {
        return "-";
    }
    const std::string first = site::IsoText(handover.span->first).substr(0, 10);
    const std::string last = site::IsoText(handover.span->last).substr(0, 10);
    return first == last ? first : first + " - " + last;
}

std::string Facts(const site::Handover& handover, const std::string& siteName, const messages::Translation& words)
{
    const auto fact = [](const char* name, const std::string& value) {
        return "<tr>" + Element("th", name) + Element("td", value) + "</tr>\n";
    };
    return "<table class=\"facts\">\n" + fact(words.Tr("Site"), siteName) +
           fact(words.Tr("Work done"), Dates(handover)) + fact(words.Tr("Report made by"), "Tarnel " TARNEL_VERSION) +
           "</table>\n";
}

std::string Totals(const site::HandoverTotals& totals, const messages::Translation& words)
{
    const struct {
        const char* name;
        unsigned count;
    } columns[] = {
        {words.Tr("Controllers"), totals.moved + totals.failed},
        {words.Tr("Moved"), totals.moved},
        {words.Tr("Failed"), totals.failed},
        {words.Tr("Calibrated"), totals.calibrated},
        {words.Tr("Rope dry"), totals.ropeDry},
        {words.Tr("Not calibrated"), totals.notCalibrated},
    };
    std::string heads, counts;
    for (const auto& column : columns) {
        heads += Element("th", column.name);
        counts += Element("td", std::to_string(column.count), " class=\"number\"");
    }
    return Element("h2", words.Tr("Totals")) + "\n<table class=\"totals\">\n<tr>" + heads + "</tr>\n<tr>" + counts +
           "</tr>\n</table>\n";
}

std::string ControllerRow(const site::RecordRow& row, const messages::Translation& words)
{
    const bool attention = site::AttentionFor(row) != site::Attention::None;
    const auto number = [](std::uint32_t value) { return Element("td", std::to_string(value), " class=\"number\""); };
    return Format("<tr%s>", attention ? " class=\"attention\"" : "") +
           Element("td", attention ? "!" : "", " class=\"mark\"") + number(row.address) + number(row.from) +
           number(row.baud) + Element("td", OutcomeText(row.outcome, row.from, words)) +
           Element("td", CalibrationText(row.calibration, words)) +
           Element("td", row.responseMs ? Format(words.Tr("%u ms"), *row.responseMs) : "", " class=\"number\"") +
           Element("td", Shown(row.time)) + "</tr>\n";
}

// An earlier visit's row, under the row that counts.
std::string EarlierRow(const site::RecordRow& row, const messages::Translation& words)
{
    const std::string text = Format(words.Tr("earlier, %s: %s, %s"), Shown(row.time).c_str(),
                                    OutcomeText(row.outcome, row.from, words).c_str(),
                                    CalibrationText(row.calibration, words).c_str());
    return "<tr class=\"earlier\"><td></td>" + Element("td", text, " colspan=\"7\"") + "</tr>\n";
}

std::string Controllers(const site::Handover& handover, const messages::Translation& words)
{
    std::string heads = "<th></th>";
    for (const char* head : {words.Tr("Address"), words.Tr("From"), words.Tr("Baud"), words.Tr("Outcome"),
                             words.Tr("Calibration"), words.Tr("Answer time"), words.Tr("Time")}) {
        heads += Element("th", head);
    }
    std::string page = Element("h2", words.Tr("Controllers")) + "\n<table class=\"controllers\">\n<thead><tr>" + heads +
                       "</tr></thead>\n";
    for (const site::HandedOver& controller : handover.controllers) {
        page += "<tbody>\n" + ControllerRow(controller.last, words);
        for (const site::RecordRow& earlier : controller.earlier) {
            page += EarlierRow(earlier, words);
        }
        page += "</tbody>\n";
    }
    return page + "</table>\n";
}

const char* WhatToDo(site::Attention attention, const messages::Translation& words)
{
    switch (attention) {
    case site::Attention::NotMoved:
        return words.Tr("connect it alone at its factory address and commission it again; if it answers at neither "
                        "address, check its wiring");
    case site::Attention::RopeDry:
        return words.Tr("lay the first 0-0.3 m of its rope in water and zero-calibrate it again");
    case site::Attention::CalibrationFailed:
        return words.Tr("check its connection, then zero-calibrate its rope again");
    case site::Attention::NotCalibrated:
    case site::Attention::None: break;
    }
    return words.Tr("lay the first 0-0.3 m of its rope in water and zero-calibrate it");
}

std::string NeedsAttention(const site::Handover& handover, const messages::Translation& words)
{
    std::string items;
    for (const site::HandedOver& controller : handover.controllers) {
        const site::RecordRow& row = controller.last;
        if (const site::Attention attention = site::AttentionFor(row); attention != site::Attention::None) {
            const bool moved = attention != site::Attention::NotMoved;
            items += Element("li", Format(words.Tr("%u: %s: %s"), row.address,
                                          (moved ? CalibrationText(row.calibration, words)
                                                 : OutcomeText(row.outcome, row.from, words))
                                              .c_str(),
                                          WhatToDo(attention, words))) +
                     "\n";
        }
    }
    const std::string list = items.empty() ? Element("p", words.Tr("Nothing: every controller was moved and "
                                                                    "calibrated."))
                                            : "<ul class=\"attention\">\n" + items + "</ul>";
    return Element("h2", words.Tr("Needs attention")) + "\n" + list + "\n";
}

std::string Signatures(const messages::Translation& words)
{
    std::string cells;
    for (const char* who : {words.Tr("Technician"), words.Tr("Customer")}) {
        cells += "<td>" + Element("p", who) + Element("p", words.Tr("Name:")) + Element("p", words.Tr("Signature:")) +
                 Element("p", words.Tr("Date:")) + "</td>";
    }
    return Element("h2", words.Tr("Handed over")) + "\n<table class=\"signatures\"><tr>" + cells + "</tr></table>\n";
}

}  // namespace

std::string HandoverReport(const site::Handover& handover, const std::string& siteName,
                           const messages::Translation& words)
{
    // TRANSLATORS: the page's language tag.
    const std::string language = Escaped(words.Tr("en"));
    const std::string title = words.Tr("Commissioning handover report");
    return "<!DOCTYPE html>\n<html lang=\"" + language + "\">\n<head>\n<meta charset=\"utf-8\">\n" +
           std::string(kGenerator) + "\n" + Element("title", title + " - " + siteName) + "\n" + kStyle +
           "</head>\n<body>\n" +
           Element("h1", title) + "\n" + Facts(handover, siteName, words) + Totals(handover.totals, words) +
           Controllers(handover, words) + NeedsAttention(handover, words) + Signatures(words) + "</body>\n</html>\n";
}

bool IsHandoverReport(std::string_view page)
{
    return page.starts_with("<!DOCTYPE html>\n") && page.substr(0, 200).find(kGenerator) != std::string_view::npos;
}

}  // namespace tarnel::words
