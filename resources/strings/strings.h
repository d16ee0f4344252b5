// The program's string table, compiled into the executable.
#pragma once

#include <string>

namespace resources {

// The string with identifier `id`; runtime error 326 when there is none.
std::string LoadResString(int id);

}  // namespace resources
