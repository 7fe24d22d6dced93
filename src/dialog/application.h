#pragma once

#include <string>

// The application object: exactly one, made during static initialisation.
// The framework's main routine readies the toolkit, then calls InitInstance;
// the program ends when it returns.
class CWinApp {
public:
    explicit CWinApp(std::string name);
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    virtual bool InitInstance() = 0;

    // The title of the application's message boxes.
    const std::string& Name() const { return m_strName; }

private:
    std::string m_strName;
};

// The one application object, or none (as in tests that make their own).
CWinApp* AfxGetApp();
