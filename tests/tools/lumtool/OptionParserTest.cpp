// The command line that every lumtool command reads with COptionParser.

#include "OptionParser.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "Command.h"

namespace {

using lumtool::COptionParser;
using lumtool::CUsageError;
using Arguments = std::vector<std::string>;

// The options of a command like "pack": FOLDER -o FILE [--strict] [--disc DIR] [--label TEXT].
struct SPackLike {
    std::string folder;
    std::string output;
    std::string disc = "unset";
    std::optional<std::string> label;
    bool strict = false;

    COptionParser Parser() {
        COptionParser parser("pack");
        parser.Positional("FOLDER", folder)
            .Value({"-o", "--output"}, "FILE", output, lumtool::kValueRequired)
            .Flag({"--strict"}, strict)
            .Value({"--disc"}, "DIR", disc)
            .Value({"--label"}, "TEXT", label, lumtool::kValueNotEmpty);
        return parser;
    }
};

// The message of the usage error that parsing these arguments gives, or "" for none.
std::string Refusal(const Arguments& arguments) {
    SPackLike options;
    try {
        options.Parser().Parse(arguments);
    } catch (const CUsageError& error) {
        return error.what();
    }
    return "";
}

TEST(OptionParserTest, FlagsAndValuesReachTheirTargets) {
    SPackLike options;
    options.Parser().Parse({"menu", "--strict", "--output", "out.lum", "--label", "DISC"});
    EXPECT_EQ(options.folder, "menu");
    EXPECT_EQ(options.output, "out.lum");
    EXPECT_TRUE(options.strict);
    EXPECT_EQ(options.label, "DISC");
    EXPECT_EQ(options.disc, "unset");  // not given: left as it was

    // Options before the name, the short spelling, and the later of two values.
    SPackLike again;
    again.Parser().Parse({"-o", "first.lum", "--disc", "", "-o", "second.lum", "menu"});
    EXPECT_EQ(again.output, "second.lum");
    EXPECT_EQ(again.disc, "");  // an empty value where the option allows one
    EXPECT_FALSE(again.strict);
    EXPECT_FALSE(again.label.has_value());
}

TEST(OptionParserTest, AValueThatLooksLikeAnOptionIsAValue) {
    SPackLike options;
    options.Parser().Parse({"menu", "-o", "-v", "--disc", "--strict", "--label", "--"});
    EXPECT_EQ(options.output, "-v");
    EXPECT_EQ(options.disc, "--strict");
    EXPECT_FALSE(options.strict);
    EXPECT_EQ(options.label, "--");
}

TEST(OptionParserTest, DoubleDashEndsTheOptions) {
    SPackLike options;
    options.Parser().Parse({"-o", "out.lum", "--", "--strict"});
    EXPECT_EQ(options.folder, "--strict");
    EXPECT_FALSE(options.strict);
    // A lone "-" is a name without one.
    SPackLike dash;
    dash.Parser().Parse({"-", "-o", "out.lum"});
    EXPECT_EQ(dash.folder, "-");
    // After "--" even help is a name.
    SPackLike help;
    help.Parser().Parse({"-o", "out.lum", "--", "-h"});
    EXPECT_EQ(help.folder, "-h");
}

TEST(OptionParserTest, BadCommandLinesAreRefusedInOneWording) {
    EXPECT_EQ(Refusal({"menu", "-o", "out.lum", "--verbose"}), "pack: unknown option '--verbose'");
    EXPECT_EQ(Refusal({"menu", "-o", "out.lum", "-x"}), "pack: unknown option '-x'");
    // No "--name=value" spelling: the whole argument is unknown.
    EXPECT_EQ(Refusal({"menu", "--output=out.lum"}), "pack: unknown option '--output=out.lum'");
    EXPECT_EQ(Refusal({"menu", "-o"}), "pack: -o needs a value");
    EXPECT_EQ(Refusal({"menu", "-o", "out.lum", "--disc"}), "pack: --disc needs a value");
    EXPECT_EQ(Refusal({"menu", "-o", "out.lum", "--label", ""}), "pack: --label needs a value");
    EXPECT_EQ(Refusal({"-o", "out.lum"}), "pack: no FOLDER given");
    EXPECT_EQ(Refusal({"", "-o", "out.lum"}), "pack: no FOLDER given");  // never the current folder
    EXPECT_EQ(Refusal({"menu"}), "pack: no -o FILE given");
    EXPECT_EQ(Refusal({"menu", "other", "-o", "out.lum"}),
              "pack: 'other' is one argument too many");
    EXPECT_EQ(Refusal({"menu", "-o", "out.lum", "--", "-x"}),
              "pack: '-x' is one argument too many");
    EXPECT_EQ(Refusal({"menu", "-o", "out.lum"}), "");
}

TEST(OptionParserTest, NamesAreCountedAsDeclared) {
    std::string folder;
    std::string po;
    std::string extra = "unset";
    const auto parse = [&](const Arguments& arguments) -> std::string {
        COptionParser parser("translations import");
        parser.Positional("FOLDER", folder, "the menu folder")
            .Positional("FILE.po", po)
            .OptionalPositional("EXTRA", extra);
        try {
            parser.Parse(arguments);
        } catch (const CUsageError& error) {
            return error.what();
        }
        return "";
    };
    EXPECT_EQ(parse({}), "translations import: no FOLDER given (the menu folder)");
    EXPECT_EQ(parse({"menu"}), "translations import: no FILE.po given");
    EXPECT_EQ(parse({"menu", "de.po"}), "");
    EXPECT_EQ(extra, "unset");
    EXPECT_EQ(parse({"menu", "de.po", "more"}), "");
    EXPECT_EQ(extra, "more");
    EXPECT_EQ(parse({"menu", "de.po", "more", "most"}),
              "translations import: 'most' is one argument too many");
    EXPECT_EQ(folder, "menu");
    EXPECT_EQ(po, "de.po");
}

TEST(OptionParserTest, HelpIsAskedForBeforeAnythingIsChecked) {
    for (const Arguments& arguments :
         {Arguments{"--help"}, Arguments{"-h", "--verbose"}, Arguments{"menu", "other", "-h"},
          Arguments{"menu", "-o", "-h"}, Arguments{"menu", "-o", "--", "--help"}}) {
        SPackLike options;
        EXPECT_THROW(options.Parser().Parse(arguments), lumtool::CHelpRequest) << arguments.back();
    }
    EXPECT_TRUE(COptionParser::AsksForHelp({"menu", "-o", "-h"}));
    EXPECT_FALSE(COptionParser::AsksForHelp({"menu", "--", "--help"}));
    EXPECT_FALSE(COptionParser::AsksForHelp({"menu", "--helpful", "-hx"}));
    EXPECT_FALSE(COptionParser::AsksForHelp({}));
}

TEST(OptionParserTest, ConvertingValuesAsTheyCome) {
    std::vector<std::string> seen;
    COptionParser parser("render");
    parser.Value({"--scale"}, "N", [&](const std::string& text) {
        if (text == "bad") throw CUsageError("--scale needs a number");
        seen.push_back(text);
    });
    parser.Parse({"--scale", "2", "--scale", "3"});
    EXPECT_EQ(seen, (std::vector<std::string>{"2", "3"}));
    EXPECT_THROW(parser.Parse({"--scale", "bad"}), CUsageError);
}

}  // namespace
