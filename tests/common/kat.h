// Reads known-answer files: records of "Name = value" lines separated by blank lines, '#' comments.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/bytes.h"

#include <cstdint>
#include <fstream>
#include <map>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

namespace tazen::test {

struct KatRecord
{
    std::string file;
    int line = 0;
    std::map<std::string, std::string> fields;

    const std::string& operator[](const std::string& name) const
    {
        const auto it = fields.find(name);
        if (it == fields.end())
            throw std::runtime_error(file + ":" + std::to_string(line) + ": no field " + name);
        return it->second;
    }
    bool has(const std::string& name) const { return fields.count(name) != 0; }

    friend std::ostream& operator<<(std::ostream& out, const KatRecord& r) { return out << r.file << ":" << r.line; }
};

inline std::string trim(const std::string& s)
{
    const auto begin = s.find_first_not_of(" \t\r");
    if (begin == std::string::npos)
        return {};
    return s.substr(begin, s.find_last_not_of(" \t\r") - begin + 1);
}

inline std::vector<KatRecord> loadKat(const std::string& name)
{
    const std::string path = std::string(TAZEN_TEST_DATA_DIR) + "/" + name;
    std::ifstream in(path);
    if (!in)
        throw std::runtime_error("cannot open " + path);
    std::vector<KatRecord> records;
    KatRecord current{name, 0, {}};
    std::string text;
    for (int lineNo = 1; std::getline(in, text); ++lineNo) {
        text = trim(text);
        if (text.empty()) {
            if (!current.fields.empty())
                records.push_back(current);
            current = KatRecord{name, 0, {}};
            continue;
        }
        if (text[0] == '#')
            continue;
        const auto eq = text.find('=');
        if (eq == std::string::npos)
            throw std::runtime_error(path + ":" + std::to_string(lineNo) + ": expected Name = value");
        if (current.fields.empty())
            current.line = lineNo;
        current.fields[trim(text.substr(0, eq))] = trim(text.substr(eq + 1));
    }
    if (!current.fields.empty())
        records.push_back(current);
    return records;
}

} // namespace tazen::test
