// Workbook files made record by record, for what no spreadsheet writes:
// damaged and hostile files for the reader.
#pragma once

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/xls/internal/xls_records.h"

namespace crafted {

using xl::internal::RecordWriter;

struct Workbook {
    std::vector<std::u16string> strings;  // the shared-string table
    // The worksheets' records, each written between its BOF and EOF.
    std::vector<std::function<void(RecordWriter&)>> sheets;
    // The sheet entries: a name and the sheet it points at (by default one entry per sheet).
    struct Entry {
        std::u16string name;
        std::size_t sheet = 0;
        std::size_t skip = 0;  // bytes into the sheet's stream (0: its BOF)
    };
    std::vector<Entry> entries;
};

// The workbook as the bytes of a file.
inline std::string Bytes(const Workbook& wb) {
    using namespace xl::internal;
    RecordWriter sheets;
    std::vector<std::size_t> starts;
    for (const auto& write : wb.sheets) {
        starts.push_back(sheets.offset());
        WriteBof(sheets, BofKind::Worksheet);
        write(sheets);
        WriteEof(sheets);
    }
    std::vector<Workbook::Entry> entries = wb.entries;
    if (entries.empty())
        for (std::size_t i = 0; i < wb.sheets.size(); ++i) entries.push_back({u"List" + std::u16string(1, static_cast<char16_t>(u'1' + i)), i, 0});
    RecordWriter g;
    WriteBof(g, BofKind::Globals);
    std::vector<std::size_t> fields;
    for (const auto& e : entries) fields.push_back(WriteBoundsheet(g, e.name));
    SharedStrings sst;
    sst.strings = wb.strings;
    WriteSstAndExtsst(g, sst);
    WriteEof(g);
    for (std::size_t i = 0; i < entries.size(); ++i)
        g.u32At(fields[i], static_cast<std::uint32_t>(g.offset() + starts.at(entries[i].sheet) + entries[i].skip));
    const std::span<const std::uint8_t> pieces[] = {g.data(), sheets.data()};
    std::string bytes;
    if (!CompoundFile(pieces, [&](std::span<const std::uint8_t> file) {
            bytes.assign(reinterpret_cast<const char*>(file.data()), file.size());
            return true;
        }))
        throw std::runtime_error("no compound file");
    return bytes;
}

}  // namespace crafted
