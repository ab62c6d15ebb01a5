#include "XlsxCells.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <stdexcept>
#include <string_view>

#include "TestSupport.h"
#include "platform/Platform.h"

namespace mlk::test {

namespace {

std::uint64_t Number(const std::string& bytes, std::size_t at, int size) {
    if (at + std::size_t(size) > bytes.size())
        throw std::runtime_error("the package ends inside a record");
    std::uint64_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = value << 8 | static_cast<unsigned char>(bytes[at + std::size_t(i)]);
    return value;
}

std::string Inflate(const std::string& packed, std::size_t size) {
    std::string out(size, '\0');
    z_stream stream{};
    // Raw deflate, as the zip format holds it.
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK)
        throw std::runtime_error("zlib did not start");
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.data()));
    stream.avail_in = uInt(packed.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = uInt(out.size());
    const int rc = inflate(&stream, Z_FINISH);
    inflateEnd(&stream);
    if (rc != Z_STREAM_END || stream.total_out != size)
        throw std::runtime_error("a packed member does not unpack");
    return out;
}

// The member of a zip package with this name, unpacked: found through the central directory,
// whose sizes and offsets may be in a zip64 field.
std::string Member(const std::string& zip, const std::string& name) {
    const std::size_t end = zip.rfind(std::string("PK\x05\x06", 4));
    if (end == std::string::npos)
        throw std::runtime_error("no zip package");
    std::size_t at = Number(zip, end + 16, 4);
    for (std::uint64_t entries = Number(zip, end + 10, 2); entries > 0; --entries) {
        if (Number(zip, at, 4) != 0x02014b50)
            throw std::runtime_error("a broken central directory");
        const auto method = Number(zip, at + 10, 2);
        std::uint64_t packed = Number(zip, at + 20, 4), size = Number(zip, at + 24, 4);
        const auto nameLength = Number(zip, at + 28, 2), extraLength = Number(zip, at + 30, 2);
        std::uint64_t local = Number(zip, at + 42, 4);
        for (std::size_t extra = at + 46 + nameLength; extra < at + 46 + nameLength + extraLength;
             extra += 4 + Number(zip, extra + 2, 2)) {
            if (Number(zip, extra, 2) != 1)
                continue;
            std::size_t field = extra + 4;
            for (std::uint64_t* value : {&size, &packed, &local}) {
                if (*value == 0xFFFFFFFF) {
                    *value = Number(zip, field, 8);
                    field += 8;
                }
            }
        }
        if (zip.compare(at + 46, nameLength, name) == 0) {
            const std::size_t data =
                local + 30 + Number(zip, local + 26, 2) + Number(zip, local + 28, 2);
            const std::string bytes = zip.substr(data, packed);
            return method == 0 ? bytes : Inflate(bytes, size);
        }
        at += 46 + nameLength + extraLength + Number(zip, at + 32, 2);
    }
    throw std::runtime_error("no member " + name);
}

std::string Unescaped(std::string_view xml) {
    static const std::pair<std::string_view, char> kEntities[] = {
        {"&lt;", '<'}, {"&gt;", '>'}, {"&amp;", '&'}, {"&quot;", '"'}, {"&apos;", '\''}};
    std::string text;
    for (std::size_t i = 0; i < xml.size();) {
        bool replaced = false;
        for (const auto& [entity, c] : kEntities) {
            if (xml.substr(i, entity.size()) == entity) {
                text += c;
                i += entity.size();
                replaced = true;
                break;
            }
        }
        if (!replaced)
            text += xml[i++];
    }
    return text;
}

// The texts of the <t> elements between from and to, joined.
std::string Texts(const std::string& xml, std::size_t from, std::size_t to) {
    std::string text;
    for (std::size_t t = xml.find("<t", from); t < to; t = xml.find("<t", t + 2)) {
        if (xml[t + 2] != '>' && xml[t + 2] != ' ')
            continue;  // <tag ...> of another name
        const std::size_t start = xml.find('>', t) + 1;
        text += Unescaped(std::string_view(xml).substr(start, xml.find("</t>", start) - start));
    }
    return text;
}

}  // namespace

std::vector<std::vector<std::string>> XlsxCells(const std::filesystem::path& file,
                                                bool markNumbers) {
    std::vector<std::vector<std::string>> rows;
    try {
        const std::string zip = ReadFile(file);
        // Shared strings, where the writer keeps texts apart from the sheet.
        std::vector<std::string> shared;
        if (zip.find("xl/sharedStrings.xml") != std::string::npos) {
            const std::string xml = Member(zip, "xl/sharedStrings.xml");
            for (std::size_t si = xml.find("<si>"); si != std::string::npos;
                 si = xml.find("<si>", si + 4))
                shared.push_back(Texts(xml, si, xml.find("</si>", si)));
        }
        const std::string sheet = Member(zip, "xl/worksheets/sheet1.xml");
        std::size_t width = 0;
        for (std::size_t c = sheet.find("<c "); c != std::string::npos;
             c = sheet.find("<c ", c + 3)) {
            // r="B12": the column in letters, the row from 1.
            std::size_t at = sheet.find("r=\"", c) + 3, column = 0;
            for (; sheet[at] >= 'A' && sheet[at] <= 'Z'; ++at)
                column = column * 26 + std::size_t(sheet[at] - 'A' + 1);
            const std::size_t row = std::stoul(sheet.substr(at)) - 1;
            const std::size_t open = sheet.find('>', c);
            const std::size_t close = sheet[open - 1] == '/' ? open : sheet.find("</c>", c);
            std::string text = Texts(sheet, open, close);
            const std::string attributes = sheet.substr(c, open - c);
            const std::size_t v = sheet.find("<v>", open);
            const std::string value =
                v < close ? sheet.substr(v + 3, sheet.find("</v>", v) - v - 3) : "";
            if (attributes.find("t=\"s\"") != std::string::npos)
                text = shared.at(std::stoul(value));
            else if (attributes.find(" t=\"") == std::string::npos)
                text = (markNumbers ? "#" : "") + value;
            if (rows.size() <= row)
                rows.resize(row + 1);
            if (rows[row].size() < column)
                rows[row].resize(column);
            rows[row][column - 1] = text;
            width = std::max(width, column);
        }
        for (auto& row : rows)
            row.resize(width);
    } catch (const std::exception& error) {
        ADD_FAILURE() << PathText(file) << ": " << error.what();
        return {};
    }
    return rows;
}

std::string XlsxMember(const std::filesystem::path& file, const std::string& name) {
    try {
        return Member(ReadFile(file), name);
    } catch (const std::exception& error) {
        ADD_FAILURE() << PathText(file) << ": " << error.what();
        return {};
    }
}

}  // namespace mlk::test
