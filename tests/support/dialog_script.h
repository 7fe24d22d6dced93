#pragma once

// What the programs that check dialogs on every backend share: a count of
// mismatches that sets the exit code, and steps run from the ticks of a host
// dialog, whose timer goes on inside the runs and boxes an earlier step opened.

#include "dialog/dialog.h"
#include "dialog/test_access.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace tarnel::test {

using Rows = std::vector<std::vector<std::string>>;

inline int gMismatches = 0;

inline void Fail(const std::string& what)
{
    std::printf("FAIL: %s\n", what.c_str());
    ++gMismatches;
}

template <class T>
void Expect(const char* what, const T& seen, const T& expected)
{
    if (seen != expected) {
        Fail(what);
    }
}

inline void Expect(const char* what, bool holds)
{
    Expect(what, holds, true);
}

// Straight out: the toolkit is still up, and the exit code is ours.
[[noreturn]] inline void ExitWithMismatches()
{
    std::printf("%d mismatches\n", gMismatches);
    std::fflush(stdout);
    std::_Exit(gMismatches == 0 ? 0 : 1);
}

inline std::string Text(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

// Steps run one a host tick, again while they return false (waiting).
class Script {
public:
    void Add(std::function<bool()> step) { m_steps.push_back(std::move(step)); }

    void Tick()
    {
        if (m_next == m_steps.size()) {
            return;
        }
        const std::size_t current = m_next++;
        const bool done = m_steps[current]();
        // A step that opened a run has had its later steps run inside it.
        if (done || m_next != current + 1) {
            m_waited = 0;
            return;
        }
        m_next = current;
        if (++m_waited == kPatience) {
            Fail("step " + std::to_string(current) + " waited in vain");
            m_next = current + 1;
        }
    }

private:
    static constexpr int kPatience = 500;
    std::vector<std::function<bool()>> m_steps;
    std::size_t m_next = 0;
    int m_waited = 0;
};

// The dialog whose ticks, every 20 ms, run the script.
struct Host : CDialog {
    explicit Host(Script& script) : CDialog(kTemplate)
    {
        RouteTimer([&script](int) { script.Tick(); });
    }

    bool OnInitDialog() override
    {
        CDialog::OnInitDialog();
        SetTimer(1, 20);
        return true;
    }

    static constexpr std::array<ControlTemplate, 0> kNoControls{};
    static inline const DialogTemplate kTemplate{"宿主", 60, 30, kNoControls};
};

// A step that waits until `holds`.
inline const auto Until = [](std::function<bool()> holds) { return holds; };

// A step done at once.
inline std::function<bool()> Do(std::function<void()> act)
{
    return [act = std::move(act)] {
        act();
        return true;
    };
}

}  // namespace tarnel::test
