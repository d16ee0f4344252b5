// Opening a link (a mailto: or web address) with the desktop's default
// application, as ShellExecute's default action does on Windows.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace sys {

// Opens `link` with xdg-open, started detached and without a shell: the link is
// xdg-open's only argument. A link given in double quotes, or with only its
// opening quote (as ShellExecute accepts a quoted file), is unquoted first;
// blanks and non-ASCII letters are percent-encoded (UTF-8) so that the mail
// client receives a well-formed address. Returns whether the launch started;
// a failure shows nothing.
bool OpenLink(const std::string& link);

// Replaces the launch: the hook receives the program and its arguments and
// answers whether it "started". An empty hook restores the real launch.
using LaunchHook = std::function<bool(const std::string& program, const std::vector<std::string>& args)>;
void SetLaunchHook(LaunchHook hook);

}  // namespace sys
