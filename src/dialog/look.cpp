#include "dialog/look.h"

#include "dialog/application.h"

namespace tarnel::dialog::look {

std::string BoxTitle()
{
    return AfxGetApp() ? AfxGetApp()->Name() : std::string();
}

}  // namespace tarnel::dialog::look
