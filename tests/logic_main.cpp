// The logic tests' main: the process takes its locale from the environment,
// as the program does (QApplication calls setlocale(LC_ALL, "") on Unix), so
// the same tests run once under C.UTF-8 and once under Bulgarian settings.
// TRIVYRHNIK_EXPECT_DECIMAL names the decimal point that the environment's
// locale must give; a locale the system lacks then fails the run instead of
// quietly testing the C locale again. TRIVYRHNIK_TEST_LOCALE names the
// locale instead of the environment, where the C library does not read it
// from there (Windows: "Bulgarian_Bulgaria.1251").

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv)
{
    if (const char* name = std::getenv("TRIVYRHNIK_TEST_LOCALE")) {
        if (!std::setlocale(LC_ALL, name)) {
            std::fprintf(stderr, "the C library has no locale \"%s\"\n", name);
            return 1;
        }
    } else {
        std::setlocale(LC_ALL, "");
    }
    if (const char* expected = std::getenv("TRIVYRHNIK_EXPECT_DECIMAL")) {
        const char* actual = std::localeconv()->decimal_point;
        if (std::strcmp(expected, actual) != 0) {
            std::fprintf(stderr, "the locale gives the decimal point \"%s\", not \"%s\"; is it generated?\n", actual,
                         expected);
            return 1;
        }
    }
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
