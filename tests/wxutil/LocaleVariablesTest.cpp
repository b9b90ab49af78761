#include "wxutil/LocaleVariables.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

using wxutil::LanguageFromLocaleVariables;
using wxutil::LanguageOfLocaleName;

std::wstring Chosen(const std::map<std::string, std::string>& variables) {
    return LanguageFromLocaleVariables([&variables](const char* name) {
        const auto found = variables.find(name);
        return found == variables.end() ? std::string() : found->second;
    });
}

TEST(LocaleVariablesTest, TheLanguagePartOfALocaleNameBecomesATag) {
    EXPECT_EQ(LanguageOfLocaleName("de_DE.UTF-8"), L"de-de");
    EXPECT_EQ(LanguageOfLocaleName("de_DE@euro"), L"de-de");
    EXPECT_EQ(LanguageOfLocaleName("sr_RS.UTF-8@latin"), L"sr-rs");
    EXPECT_EQ(LanguageOfLocaleName("pt_BR"), L"pt-br");
    EXPECT_EQ(LanguageOfLocaleName("PT"), L"pt");
    EXPECT_EQ(LanguageOfLocaleName("ast_ES.utf8"), L"ast-es");
    EXPECT_EQ(LanguageOfLocaleName("es_419.UTF-8"), L"es-419");
    for (const char* none : {"", "C", "POSIX", "C.UTF-8", "C.utf8", "german", "d", "de_", "de_DEU",
                             "de-DE", "../../etc", "de_D1", ".UTF-8", "@euro"}) {
        EXPECT_EQ(LanguageOfLocaleName(none), L"") << none;
    }
}

TEST(LocaleVariablesTest, LcAllThenLcMessagesThenLangPassingOverThoseThatNameNoLanguage) {
    EXPECT_EQ(Chosen({}), L"");
    EXPECT_EQ(Chosen({{"LANG", "de_DE.UTF-8"}}), L"de-de");
    EXPECT_EQ(Chosen({{"LC_MESSAGES", "fr_FR.UTF-8"}, {"LANG", "de_DE.UTF-8"}}), L"fr-fr");
    EXPECT_EQ(Chosen({{"LC_ALL", "it_IT"}, {"LC_MESSAGES", "fr_FR"}, {"LANG", "de_DE"}}), L"it-it");
    EXPECT_EQ(Chosen({{"LC_ALL", ""}, {"LC_MESSAGES", "C"}, {"LANG", "de_DE"}}), L"de-de");
    EXPECT_EQ(Chosen({{"LC_ALL", "POSIX"}, {"LC_MESSAGES", "nl_NL"}, {"LANG", "de_DE"}}), L"nl-nl");
    EXPECT_EQ(Chosen({{"LC_ALL", "C.UTF-8"}, {"LANG", "C"}}), L"");
    // Other categories say nothing about the language of texts.
    EXPECT_EQ(Chosen({{"LC_CTYPE", "de_DE.UTF-8"}, {"LANGUAGE", "de"}}), L"");
}

}  // namespace
