// FsStatus: the texts of the system's error numbers.
#include "platform/FsStatus.h"

#include <system_error>

namespace platform {

// std::generic_category gives the same text as strerror, and may be called
// from several threads at once.
std::string ErrorText(int error) { return error == 0 ? std::string() : std::generic_category().message(error); }

std::string FsStatus::Message() const { return ErrorText(m_error); }

}  // namespace platform
