// libFuzzer target: any bytes given to the .xls reader either load or raise
// XlsError; nothing else may happen (no crash, no other exception).
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/xls/xls_io.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        xl::internal::ReadXlsBytes(std::string(reinterpret_cast<const char*>(data), size));
    } catch (const xl::internal::XlsError&) {
    }
    return 0;
}
