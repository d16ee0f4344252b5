// The program's string table: the natural note name of each staff step of the
// entry staff (id = staff top - 2640, one diatonic step = 60) and the letter
// row labels of the treble keyboard.
#include <map>

#include "platform/vb/runtime_error.h"
#include "resources/strings/strings.h"

namespace resources {

namespace {

const std::map<int, std::string>& Table() {
    static const std::map<int, std::string> table = [] {
        std::map<int, std::string> t;
        static const char* const kNotes[] = {
            "g4,", "f4,", "e4,", "d4,", "c4,", "h3,", "a3,", "g3,", "f3,", "e3,", "d3,",
            "c3,", "h2,", "a2,", "g2,", "f2,", "e2,", "d2,", "c2,", "h1,", "a1,", "g1,",
            "f1,", "e1,", "d1,", "c1,", "h,",  "a,",  "g,",  "f,",  "e,",  "d,",  "c,",
        };
        int id = 5420;
        for (const char* note : kNotes) {
            t[id] = note;
            id += 60;
        }
        static const char* const kRowLabels[] = {
            "1", "A", "B", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11",  // 101-113
            "1", "B", "2", "3", "4", "5s", "6", "7", "8", "9", "10", "11",       // 114-125
        };
        id = 101;
        for (const char* label : kRowLabels) t[id++] = label;
        return t;
    }();
    return table;
}

}  // namespace

std::string LoadResString(int id) {
    const auto& t = Table();
    auto it = t.find(id);
    if (it == t.end())
        vb::Raise(326, "LoadResString", "Resource with identifier '" + std::to_string(id) + "' not found");
    return it->second;
}

}  // namespace resources
