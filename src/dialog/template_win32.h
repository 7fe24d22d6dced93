#pragma once

#include "dialog/dialog_template.h"

#include <windows.h>

#include <string>
#include <vector>

namespace tarnel::dialog::win32 {

// `dialogTemplate` as an extended dialog template in memory (DLGTEMPLATEEX
// and its items), in dialog units of the dialogs' Song face, ready for the
// system's dialog manager.
class InMemoryTemplate {
public:
    explicit InMemoryTemplate(const DialogTemplate& dialogTemplate);

    const DLGTEMPLATE* Data() const { return reinterpret_cast<const DLGTEMPLATE*>(m_words.data()); }

private:
    void Word(WORD value) { m_words.push_back(value); }
    void Dword(DWORD value);
    void Text(const std::wstring& text);
    void Ordinal(WORD value);
    void AlignToDword();

    std::vector<WORD> m_words;
};

}  // namespace tarnel::dialog::win32
