// Reads a fixture of tests/fixtures/files into memory.
#pragma once

#include <fstream>
#include <sstream>
#include <string>

inline std::string ReadFilesFixture(const std::string& name) {
    std::ifstream in(std::string(STRIDELY_FIXTURES) + "/files/" + name, std::ios::binary);
    std::ostringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
}
