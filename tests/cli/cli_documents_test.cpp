// The option tables are the one list of options: the manual pages, the
// README's synopses and both shell completions are held against them, so an
// option added, renamed or dropped in one place and not the others fails here.

#include "cli_options.h"
#include "devsim_options.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <set>
#include <sstream>

namespace {

using Names = std::set<std::string>;

std::string Source(const std::string& path)
{
    std::string text = ReadFile(std::string(ORBISK_SOURCE_DIR) + "/" + path);
    EXPECT_FALSE(text.empty()) << path;
    return text;
}

// Every "--name" in the text (and "-x" with `shortToo`).
Names OptionsIn(const std::string& text, bool shortToo = false)
{
    Names names;
    static const std::regex option("(^|[^a-zA-Z0-9-])(--[a-z][a-z-]*[a-z]|-[a-z])(?![a-zA-Z0-9-])");
    for (std::sregex_iterator it(text.begin(), text.end(), option), end; it != end; ++it) {
        std::string name = (*it)[2];
        if (shortToo || name.starts_with("--"))
            names.insert(name);
    }
    return names;
}

// The lines that begin with `start`, each with the lines after it that
// begin with `continued`.
std::string Blocks(const std::string& text, const std::string& start, const std::string& continued)
{
    std::istringstream in(text);
    std::string blocks;
    bool inside = false;
    for (std::string line; std::getline(in, line);) {
        if (line.starts_with(start))
            inside = true;
        else if (!inside || !line.starts_with(continued) || line.size() == continued.size())
            inside = false;
        if (inside)
            blocks += line + "\n";
    }
    return blocks;
}

std::string Between(const std::string& text, const std::string& from, const std::string& to)
{
    size_t start = text.find(from);
    size_t end = start == std::string::npos ? start : text.find(to, start + from.size());
    EXPECT_NE(end, std::string::npos) << from << " ... " << to;
    return end == std::string::npos ? std::string() : text.substr(start, end - start);
}

Names Table(const std::string& command)
{
    std::vector<std::string> names = OptionNames(command);
    return Names(names.begin(), names.end());
}

Names Union(const Names& a, const Names& b)
{
    Names all = a;
    all.insert(b.begin(), b.end());
    return all;
}

const Names kEverywhere { "--help", "--version" };

TEST(CliDocuments, SynopsesNameEveryOptionOfEachCommandAndNoOther)
{
    const std::string manual = Source("packaging/man/orbisk-cli.1.scd");
    const std::string readme = Between(Source("README.md"), "## orbisk-cli(1)", "#### DESCRIPTION");
    for (const std::string& command : CommandNames()) {
        SCOPED_TRACE(command);
        Names table = Table(command);
        EXPECT_EQ(OptionsIn(Blocks(manual, "*orbisk-cli " + command + "*", "\t")), table);
        EXPECT_EQ(OptionsIn(Blocks(readme, "orbisk-cli " + command + " ", " ")), table);
    }
}

TEST(CliDocuments, OptionListsDescribeEveryOptionAndNoOther)
{
    Names all;
    for (const std::string& command : CommandNames())
        all = Union(all, Table(command));
    // The manual page also describes --help and --version; the README says
    // them in its synopsis alone.
    const std::string manual = Between(Source("packaging/man/orbisk-cli.1.scd"), "# OPTIONS", "# EXIT STATUS");
    EXPECT_EQ(OptionsIn(Blocks(manual, "*-", "*-")), Union(all, kEverywhere));
    const std::string readme = Between(Source("README.md"), "## orbisk-cli(1)", "## orbisk-devsim");
    EXPECT_EQ(OptionsIn(Blocks(Between(readme, "#### OPTIONS", "#### OUTPUT"), "`-", "`-")), all);
}

TEST(CliDocuments, BothCompletionsOfferEveryOptionOfEachCommandAndNoOther)
{
    const std::string bash = Source("packaging/completion/orbisk-cli");
    const std::string fish = Source("packaging/completion/orbisk-cli.fish");

    // fish: "set -l NAME words", then -n "__fish_seen_subcommand_from LIST" ... -l OPTION.
    std::map<std::string, std::string> lists;
    static const std::regex set("set -l ([a-z]+) ([^\\n]*)");
    for (std::sregex_iterator it(fish.begin(), fish.end(), set), end; it != end; ++it)
        lists["$" + std::string((*it)[1])] = (*it)[2];
    std::map<std::string, Names> fishOptions;
    static const std::regex line("-n \"__fish_seen_subcommand_from ([^\"]*)\"[^\\n]* -l ([a-z-]+)");
    for (std::sregex_iterator it(fish.begin(), fish.end(), line), end; it != end; ++it) {
        std::istringstream words(lists.contains((*it)[1]) ? lists[(*it)[1]] : std::string((*it)[1]));
        for (std::string command; words >> command;)
            fishOptions[command].insert("--" + std::string((*it)[2]));
    }

    for (const std::string& command : CommandNames()) {
        SCOPED_TRACE(command);
        Names table = Table(command);
        std::smatch match;
        ASSERT_TRUE(std::regex_search(bash, match, std::regex("\\n\\s+" + command + "\\)\\n\\s+options=\"([^\"]*)\"")));
        EXPECT_EQ(OptionsIn(match[1]), Union(table, { "--help" }));
        EXPECT_EQ(fishOptions[command], table);
    }
}

TEST(DevsimDocuments, ReadmeSynopsisNamesEveryOptionAndTheManualNoOther)
{
    std::vector<std::string> names = OptionNames();
    Names table(names.begin(), names.end()), longNames;
    for (const std::string& name : names) {
        if (name.starts_with("--"))
            longNames.insert(name);
    }
    const std::string readme = Between(Source("README.md"), "\norbisk-devsim [", "```");
    EXPECT_EQ(OptionsIn(readme), longNames);
    // The manual page describes the main options only.
    Names manual = OptionsIn(Blocks(Source("packaging/man/orbisk-devsim.1.scd"), "*-", "*-"), true);
    EXPECT_GT(manual.size(), 10u);
    for (const std::string& name : manual)
        EXPECT_TRUE(table.contains(name)) << name << " is in the manual page but not in the table";
}

} // namespace
