// LibreOffice, where it is installed, as the reference spreadsheet program:
// one headless conversion at a time, each with a profile of its own.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace testsupport {

inline bool HaveSoffice() { return std::system("command -v soffice >/dev/null 2>&1") == 0; }

// Where SofficeConvert leaves what soffice printed.
inline std::filesystem::path SofficeLog(const std::filesystem::path& work) { return work / "soffice.log"; }

// Converts `files` with `filter` ("xls", "xls:MS Excel 97", "csv:...") into
// `outdir`; the profile and the log go to `work`. True when soffice succeeded.
// `infilter` names how the input is read ("CSV:44,34,76" for UTF-8 CSV); empty:
// as soffice recognises it.
inline bool SofficeConvert(const std::filesystem::path& work, const std::string& filter,
                           const std::vector<std::string>& files, const std::filesystem::path& outdir,
                           const std::string& infilter = {}) {
    std::string cmd = "soffice -env:UserInstallation=file://" + (work / "profile").string() +
                      " --headless --norestore --convert-to '" + filter + "' --outdir '" + outdir.string() + "'";
    if (!infilter.empty()) cmd += " --infilter='" + infilter + "'";
    for (const auto& f : files) cmd += " '" + f + "'";
    cmd += " >'" + SofficeLog(work).string() + "' 2>&1";
    return std::system(cmd.c_str()) == 0;
}

}  // namespace testsupport
