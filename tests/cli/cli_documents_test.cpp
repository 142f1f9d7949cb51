// The option tables are the one list of options. The usage texts and the
// shell completions are made from them; the manual pages, the README and the
// usage texts' synopses are written by hand and held against them here, so
// an option added, renamed or dropped in a table and not there fails.

#include "cli_completion.h"
#include "cli_options.h"
#include "command_line.h"
#include "devsim_options.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <iterator>
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

// Wherever the synopsis names an option of the table, the name of its value
// follows as the table has it ("--timeout MS"), and a flag has none. The
// scdoc marks are taken out first: "*--timeout* _MS_".
void ExpectValueNames(const std::string& synopsis, const std::vector<Option>& table)
{
    std::string text;
    for (char c : synopsis) {
        if (c != '*' && c != '_' && c != '\\')
            text += c;
    }
    auto isNameChar = [](char c) { return (c >= 'a' && c <= 'z') || c == '-'; };
    auto isWordChar = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); };
    for (const Option& option : table) {
        std::string name(option.name);
        for (size_t at = text.find(name); at != std::string::npos; at = text.find(name, at + 1)) {
            size_t end = at + name.size();
            if ((at > 0 && isNameChar(text[at - 1])) || (end < text.size() && isNameChar(text[end])))
                continue;
            std::string rest = text.substr(end);
            if (option.value.empty()) {
                EXPECT_FALSE(rest.size() > 1 && rest[0] == ' ' && isWordChar(rest[1])) << name << rest.substr(0, 12);
            } else {
                std::string value = " " + std::string(option.value);
                EXPECT_TRUE(rest.starts_with(value) && (rest.size() == value.size() || !isWordChar(rest[value.size()])))
                    << name << rest.substr(0, 20) << " is not " << name << value;
            }
        }
    }
}

const Names kEverywhere { "--help", "--version" };

TEST(CliDocuments, SynopsesNameEveryOptionOfEachCommandAndNoOther)
{
    const std::string manual = Source("packaging/man/orbisk-cli.1.scd");
    const std::string readme = Between(Source("README.md"), "## orbisk-cli(1)", "#### DESCRIPTION");
    for (const std::string& command : CommandNames()) {
        SCOPED_TRACE(command);
        Names table = Table(command);
        const std::string manualSynopsis = Blocks(manual, "*orbisk-cli " + command + "*", "\t");
        const std::string readmeSynopsis = Blocks(readme, "orbisk-cli " + command + " ", " ");
        EXPECT_EQ(OptionsIn(manualSynopsis), table);
        EXPECT_EQ(OptionsIn(readmeSynopsis), table);
        ExpectValueNames(manualSynopsis, CommandOptions(command));
        ExpectValueNames(readmeSynopsis, CommandOptions(command));
        const std::string usage = Usage(command);
        ASSERT_FALSE(usage.empty());
        EXPECT_EQ(OptionsIn(usage.substr(0, usage.find("\n\n"))), table);
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

TEST(CliDocuments, BothCompletionsOfferEveryCommandAndEachOfItsOptionsOnce)
{
    const std::string bash = BashCompletion();
    const std::string fish = FishCompletion();
    std::string commands;
    for (const std::string& command : CommandNames())
        commands += (commands.empty() ? "" : " ") + command;
    EXPECT_NE(bash.find("compgen -W \"" + commands + " --help --version\""), std::string::npos) << bash;
    EXPECT_NE(fish.find("\nset -l commands " + commands + "\n"), std::string::npos) << fish;

    // fish: one line per command and option, "... from COMMAND" -l NAME".
    std::map<std::string, std::vector<std::string>> fishOptions;
    static const std::regex line("-n \"__fish_seen_subcommand_from ([a-z-]+)\" -l ([a-z-]+)");
    for (std::sregex_iterator it(fish.begin(), fish.end(), line), end; it != end; ++it)
        fishOptions[(*it)[1]].push_back("--" + std::string((*it)[2]));

    for (const std::string& command : CommandNames()) {
        SCOPED_TRACE(command);
        std::vector<std::string> table = OptionNames(command);
        EXPECT_EQ(fishOptions[command], table);
        std::smatch match;
        ASSERT_TRUE(std::regex_search(bash, match, std::regex("\n\\s+" + command + "\\)\n\\s+options=\"([^\"]*)\"")));
        std::istringstream words(match[1]);
        std::vector<std::string> offered { std::istream_iterator<std::string>(words), {} };
        table.push_back("--help");
        EXPECT_EQ(offered, table);
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
    ExpectValueNames(readme, SimOptionTable());
    // The manual page describes the main options only.
    Names manual = OptionsIn(Blocks(Source("packaging/man/orbisk-devsim.1.scd"), "*-", "*-"), true);
    EXPECT_GT(manual.size(), 10u);
    for (const std::string& name : manual)
        EXPECT_TRUE(table.contains(name)) << name << " is in the manual page but not in the table";
}

} // namespace
