// ZnWidgets' resources, registered with the platform while the library is
// loaded, so that its dialogs find their templates from any program that
// uses the library. The tables grow with the library's dialogs.
#include "platform/Resource.h"

namespace {

constexpr platform::ResourceModule kModule{"znwidgets", {}, {}, {}, {}};
const platform::ResourceRegistration g_registration(kModule);

}  // namespace
