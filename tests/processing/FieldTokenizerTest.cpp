#include "processing/FieldTokenizer.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace
{
std::vector<std::string> Fields(const std::string& text, const std::string& separators = ";")
{
    CFieldTokenizer tokenizer(nullptr, text, separators, '"');
    std::vector<std::string> fields;
    for (size_t i = 0; i < tokenizer.Count(); ++i)
        fields.push_back(tokenizer.GetAt(i));
    return fields;
}

using Strings = std::vector<std::string>;
}

TEST(FieldTokenizer, SplitsBlanksQuotesAndStrayBytesWithoutLoss)
{
    const struct { std::string text, separators; Strings fields; } cases[] = {
        // Empty fields come from adjacent separators and a first one, not from a final one.
        {"A;;C", ";", {"A", "", "C"}},
        {";;", ";", {"", ""}},
        {"   ", ";", {}},
        // Leading blanks are skipped unless they are the separator.
        {"A ;  B;C", ";", {"A ", "B", "C"}},
        {"\t A;\tB", ";", {"A", "B"}},
        {"A\t\tC", "\t", {"A", "", "C"}},
        {"  A\t  B", "\t", {"A", "B"}},
        {"A  B C", " ", {"A", "", "B", "C"}},
        {"\tA \t\tB", " ", {"A", "B"}},
        {"A;   ;C", ";", {"A", "", "C"}},
        // Quoted fields hold separators and doubled quotes.
        {"\"x;y\";B;C", ";", {"x;y", "B", "C"}},
        {"\"a\"\"b\";B;C", ";", {"a\"b", "B", "C"}},
        {"\"ab\"cd;B;C", ";", {"\"ab\" cd", "B", "C"}},
        {"\"ab\"  ;B", ";", {"ab", "B"}},
        {"\"\";B", ";", {"", "B"}},
        {"A;\"x;y", ";", {"A", "x;y"}},
        {"a\"b;c", ";", {"a\"b", "c"}},
        {"\"a\"\"\";b", ";", {"a\"", "b"}},
        // Stray bytes are field bytes like any other.
        {std::string("A\0B;C", 5), ";", {std::string("A\0B", 3), "C"}},
        {"\xff;\x80\x02", ";", {"\xff", "\x80\x02"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Fields(c.text, c.separators), c.fields) << c.text;
    EXPECT_EQ(Fields(std::string(70000, ';')).size(), 70000u);
}
