#include "doctor_report.h"

#include "messages/messages.h"
#include "words/site_words.h"

#include <cstdio>
#include <nlohmann/json.hpp>

namespace tarnel::tool {


namespace {

// The name a finding has in the JSON.
const char* KindName(site::Finding::Kind kind)
{
    using Kind = site::Finding::Kind;
    switch (kind) {
    case Kind::OtherMaster: return "other-master";
    case Kind::NothingAnswers: return "nothing-answers";
    case Kind::CorruptEverywhere: return "corrupt-everywhere";
    case Kind::WrongSpeed: return "wrong-speed";
    case Kind::Noise: return "noise";
    case Kind::TwoControllers: return "two-controllers";
    case Kind::Echo: return "echo";
    case Kind::Late: return "late";
    case Kind::Short: break;
    }
    return "short";
}

}  // namespace

void PrintDiagnosis(const site::SweepEnd& end)
{
    for (const site::Controller& c : end.diagnosis->controllers) {
        std::printf("%s\n", words::ControllerText(c).c_str());
    }
    std::printf("%s", words::FindingsText(*end.diagnosis).c_str());
}

void PrintDiagnosisJson(const site::SweepEnd& end)
{
    using Json = nlohmann::ordered_json;
    Json listen = Json::array();
    for (const site::SpeedSeen& s : end.speeds) {
        listen.push_back({{"baud", s.baud},
                          {"frames", s.framesHeard},
                          {"noise_bytes", s.noiseBytes},
                          {"other_master", s.otherMaster.has_value()}});
    }
    Json controllers = Json::array();
    for (const site::Controller& c : end.diagnosis->controllers) {
        controllers.push_back({{"address", c.address},
                               {"baud", c.baud},
                               {"min_ms", c.minMs},
                               {"median_ms", c.medianMs},
                               {"max_ms", c.maxMs}});
    }
    Json findings = Json::array();
    for (const site::Finding& finding : end.diagnosis->findings) {
        // For machines too: English, whatever the language.
        const words::FindingText text = words::Words(finding, messages::kEnglish);
        findings.push_back({{"kind", KindName(finding.kind)},
                            {"address", finding.address ? Json(*finding.address) : Json(nullptr)},
                            {"detail", text.detail},
                            {"fix", text.fix}});
    }
    const Json document{{"listen", listen},
                        {"controllers", controllers},
                        {"findings", findings},
                        {"verdict", words::Verdict(*end.diagnosis, messages::kEnglish)}};
    std::printf("%s\n", document.dump(2).c_str());
}

}  // namespace tarnel::tool
