// Checks of what a call throws.
#pragma once

#include <gmock/gmock.h>

#include <string>

// statement throws type (or one derived from it) with a what() the matcher takes:
// EXPECT_THROW_MSG(file.write(...), ProfileError, HasSubstr("Permission denied")).
#define EXPECT_THROW_MSG(statement, type, matcher)                                                 \
    EXPECT_THAT([&] { statement; }, ::testing::ThrowsMessage<type>(matcher))

namespace deskleaf {

// What call throws as E, or an empty text when it throws nothing; for tables whose rows
// expect either. Any other exception goes through.
template <typename E, typename F> std::string thrownMessage(F&& call)
{
    try {
        call();
    } catch (const E& e) {
        return e.what();
    }
    return {};
}

} // namespace deskleaf
