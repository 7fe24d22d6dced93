#include "words/site_words.h"

namespace tarnel::words {

using messages::Format;

namespace {

FindingText AddressWords(const site::Finding& f, const Translation& words)
{
    const unsigned address = f.address.value_or(0);
    switch (f.kind) {
    case site::Finding::Kind::TwoControllers:
        return {f.neighboursClean
                    ? Format(words.Tr("address %u answers corrupt %u times of %u, its neighbours cleanly"), address,
                             static_cast<unsigned>(f.count), f.of)
                    : Format(words.Tr("address %u answers corrupt %u times of %u, garbled as two answers at once"),
                             address, static_cast<unsigned>(f.count), f.of),
                words.Tr("two controllers share it: connect them one at a time and give one another address")};
    case site::Finding::Kind::Late:
        return {Format(words.Tr("address %u answers late, after up to %u ms (the time-out is %u ms)"), address,
                       f.latestMs, f.timeoutMs),
                Format(words.Tr("use --timeout %u"), f.suggestedMs)};
    default: break;
    }
    return {Format(words.Tr("address %u answers short %u times of %u"), address, static_cast<unsigned>(f.count), f.of),
            words.Tr("a weak or long line, or a device cut off while answering: check the cable and its "
                     "termination")};
}

}  // namespace

std::string FindingsText(const site::Diagnosis& diagnosis, const Translation& words)
{
    std::string text = Verdict(diagnosis, words) + "\n";
    for (const site::Finding& finding : diagnosis.findings) {
        const FindingText said = Words(finding, words);
        text += "- " + said.detail + "\n  " + Format(words.Tr("fix: %s"), said.fix.c_str()) + "\n";
    }
    return text;
}

std::string ControllerText(const site::Controller& c, const Translation& words)
{
    return Format(words.Tr("controller %u at %u baud answers in %u/%u/%u ms (min/median/max)"), c.address, c.baud,
                  c.minMs, c.medianMs, c.maxMs);
}

FindingText Words(const site::Finding& f, const Translation& words)
{
    switch (f.kind) {
    case site::Finding::Kind::OtherMaster:
        return {Format(words.Tr("another master uses the bus at %u baud (%s)"), f.baud,
                       OtherMasterText(*f.master, words).c_str()),
                words.Tr("stop it while you work on the bus (--force sends all the same)")};
    case site::Finding::Kind::NothingAnswers:
        return {words.Tr("nothing answers"),
                words.Tr("swap A and B; a 120 ohm resistor at each end of a long bus; try -b all; switch the "
                         "adapter's echo off; join the dialout group")};
    case site::Finding::Kind::CorruptEverywhere:
        return {words.Tr("every address that answers gives corrupt or short answers"),
                words.Tr("the wrong speed (try -b all) or wiring: A and B swapped, missing termination")};
    case site::Finding::Kind::WrongSpeed:
        return {Format(words.Tr("%zu bytes of noise at %u baud, but whole frames at %u baud"), f.count, f.baud,
                       f.otherBaud),
                Format(words.Tr("the bus runs at %u baud: use -b %u"), f.otherBaud, f.otherBaud)};
    case site::Finding::Kind::Noise:
        return {Format(words.Tr("%zu bytes on the idle line at %u baud that make no frame"), f.count, f.baud),
                words.Tr("missing termination or bias resistors, A and B swapped, or a device at another speed")};
    case site::Finding::Kind::Echo:
        return {Format(words.Tr("the adapter sent %u requests back at %u baud"), static_cast<unsigned>(f.count),
                       f.baud),
                words.Tr("switch the adapter's echo off (or use one that does not hear itself)")};
    default: break;
    }
    return AddressWords(f, words);
}

}  // namespace tarnel::words
