// Data file reader: the streaming reader must agree with the tree reader on
// every input, and whatever loads must write out exactly as the tree writer
// does and read back to the same text.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "model/datafile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    Database fast;
    Database tree;
    const bool okFast = ParseDatabase(text, fast);
    const bool okTree = ParseDatabaseTree(text, tree);
    if (okFast != okTree || !(fast == tree)) std::abort();
    if (!okFast) return 0;

    const std::string out = SerializeDatabase(fast);
    if (out != SerializeDatabaseTree(fast)) std::abort();
    Database again;
    if (!ParseDatabase(out, again)) std::abort();
    if (SerializeDatabase(again) != out) std::abort();
    return 0;
}
