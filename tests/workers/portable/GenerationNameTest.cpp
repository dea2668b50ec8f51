// Generation folder names: a new generation gets a free name, and only names of exactly the
// generation shape are taken for generations (retention deletes nothing else).

#include "workers/portable/GenerationName.h"

#include <gtest/gtest.h>

namespace {

constexpr CalendarTime kStart{2026, 12, 11, 2, 0, 3};

TEST(GenerationNameTest, ANewGenerationGetsTheFirstFreeNameOfItsStartTime) {
    struct Case {
        const char* name;
        GenerationKind kind;
        TextArray taken;
        Text want;
    } cases[] = {
        {"an empty history", GenerationKind::Backup, {}, "2026-12-11_020003"},
        {"another time only", GenerationKind::Backup, {"2026-12-11_020002", "2026-12-11_020004"}, "2026-12-11_020003"},
        {"taken once", GenerationKind::Backup, {"2026-12-11_020003"}, "2026-12-11_020003_2"},
        {"taken twice, out of order",
         GenerationKind::Backup,
         {"2026-12-11_020003_2", "2026-12-11_020003"},
         "2026-12-11_020003_3"},
        {"a number left free", GenerationKind::Backup, {"2026-12-11_020003_2"}, "2026-12-11_020003"},
        {"pinned by a user", GenerationKind::Backup, {"2026-12-11_020003-keep"}, "2026-12-11_020003_2"},
        {"pinned in capitals", GenerationKind::Backup, {"2026-12-11_020003-KEEP"}, "2026-12-11_020003_2"},
        {"a restore's safety copy", GenerationKind::BeforeRestore, {"2026-12-11_020003"},
         "2026-12-11_020003_before-restore"},
        {"a safety copy of that second taken (letter case does not count)",
         GenerationKind::BeforeRestore,
         {"2026-12-11_020003_BEFORE-RESTORE"},
         "2026-12-11_020003_2_before-restore"},
        {"a pinned safety copy",
         GenerationKind::BeforeRestore,
         {"2026-12-11_020003_before-restore-keep"},
         "2026-12-11_020003_2_before-restore"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FreeGenerationName(kStart, c.kind, c.taken), c.want);
    }
    EXPECT_EQ(FreeGenerationName({2026, 1, 2, 3, 4, 5}, GenerationKind::Backup, {}), "2026-01-02_030405");
    EXPECT_EQ(FreeGenerationName({2026, 2, 30, 0, 0, 0}, GenerationKind::Backup, {}), "") << "no such date";
    EXPECT_EQ(GenerationFolderName(kStart, 0, GenerationKind::Backup), "");
}

TEST(GenerationNameTest, EveryNameWrittenReadsBackAsWhatItSays) {
    const CalendarTime times[] = {kStart, {1, 1, 1, 0, 0, 0}, {9999, 12, 31, 23, 59, 59}, {2024, 2, 29, 12, 30, 0}};
    for (const CalendarTime& time : times) {
        for (int number : {1, 2, 10, 123456789}) {
            for (GenerationKind kind : {GenerationKind::Backup, GenerationKind::BeforeRestore}) {
                const Text name = GenerationFolderName(time, number, kind);
                SCOPED_TRACE(name);
                for (bool pinned : {false, true}) {
                    const std::optional<GenerationName> read = ReadGenerationName(pinned ? name + kPinSuffix : name);
                    ASSERT_TRUE(read.has_value());
                    EXPECT_EQ(read->localStart, time);
                    EXPECT_EQ(read->number, number);
                    EXPECT_EQ(read->kind, kind);
                    EXPECT_EQ(read->pinned, pinned);
                }
            }
        }
    }
}

TEST(GenerationNameTest, OnlyExactlyTheGenerationShapeIsAGeneration) {
    const char* const generations[] = {
        "2026-12-11_020003_before-restore-Keep",
        "2026-12-11_020003_2-KEEP",
        "2026-12-11_020003_Before-Restore",
    };
    for (const char* name : generations) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(ReadGenerationName(name).has_value());
    }
    const char* const others[] = {
        "",
        "EntryKeeper.lock",
        "2026-12-11",
        "2026-12-11_02000",
        "2026-12-11_0200033",
        "2026-12-11 020003",
        "2026-12-11_020003_",
        "2026-12-11_020003-",
        "2026-12-11_020003_1",
        "2026-12-11_020003_0",
        "2026-12-11_020003_02",
        "2026-12-11_020003_1234567890",
        "2026-12-11_020003_-2",
        "2026-12-11_020003_2x",
        "2026-12-11_020003_before-restore_2",
        "2026-12-11_020003-keep_2",
        "2026-12-11_020003-keep-keep",
        "2026-12-11_020003_before-restore_before-restore",
        "2026-12-11_020003 - Copy",
        "2026-12-11_020003.txt",
        "x2026-12-11_020003",
        "+026-12-11_020003",
        "2026-13-11_020003",
        "2023-02-29_020003",
        "2026-12-11_240003",
        "2026-12-11_026003",
        "0000-12-11_020003",
        ("2026\xA3\xAD"  // a full-width hyphen
         "12-11_020003"),
    };
    for (const char* name : others) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(ReadGenerationName(name).has_value());
    }
}

}  // namespace
