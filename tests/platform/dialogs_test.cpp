#include "platform/dialogs.h"

#include <gtest/gtest.h>

TEST(Dialogs, DefaultExtensionOnlyWhenTheNameHasNone) {
    struct Case {
        const char* path;
        const char* def;
        const char* want;
    } cases[] = {
        {"/home/a/sicherung", "Stridely-Sicherung-2025-03-05.json", "/home/a/sicherung.json"},
        {"/home/a/sicherung.txt", "x.json", "/home/a/sicherung.txt"},
        {"/home/a.b/sicherung", "x.json", "/home/a.b/sicherung.json"},  // dot in a folder name only
        {"/home/a/lauf", "aktivitaet", "/home/a/lauf"},                 // default has no extension
        {"", "x.json", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(platform::WithDefaultExtension(c.path, c.def), c.want) << c.path;
}
