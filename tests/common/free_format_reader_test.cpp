#include "common/free_format_reader.hpp"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "irteq/error.hpp"
#include "irteq/limits.hpp"

namespace irteq {
namespace {

// Performs the reads a script describes and renders what each fetch gave.
// Script: reads separated by '|', each a string of fetches: i integer, r real,
// t text, p path. A value renders as itself ('text' quoted), a kept target as "-",
// end of file as "EOF".
std::string run_script(const std::string& content, const std::string& script) {
  std::istringstream in(content);
  FreeFormatReader reader(in, "input.txt");
  std::string rendered;
  bool first_read = true;
  reader.begin_read();
  for (const char fetch : script) {
    if (fetch == '|') {
      reader.begin_read();
      rendered += " |";
      first_read = false;
      continue;
    }
    if (!rendered.empty() || !first_read) rendered += ' ';
    Got got = Got::value;
    std::string value;
    if (fetch == 'i') {
      int v = 0;
      got = reader.get_integer(v);
      value = std::to_string(v);
    } else if (fetch == 'r') {
      double v = 0;
      got = reader.get_real(v);
      std::ostringstream out;
      out << v;
      value = out.str();
    } else {
      got = fetch == 'p' ? reader.get_path(value) : reader.get_text(value);
      value = "'" + value + "'";
    }
    rendered += got == Got::value ? value : got == Got::kept ? "-" : "EOF";
  }
  return rendered;
}

struct ReaderCase {
  const char* what;
  const char* content;
  const char* script;
  const char* expected;
};

TEST(FreeFormatReader, ReadsListDirectedValues) {
  const ReaderCase cases[] = {
      {"values over several lines", "1 2\n3 4 5\n6\n", "iii|i", "1 2 3 | 6"},
      {"rest of the last line is ignored", "1 2 3 words here\n4\n", "ii|i", "1 2 | 4"},
      {"blanks, tabs and commas separate", "1,2\t3 , 4\t,5\n", "iiiii", "1 2 3 4 5"},
      {"comma at a line end", "1,\n2\n", "ii", "1 2"},
      {"two commas give a null value", "1,,3\n", "iii", "1 - 3"},
      {"a slash ends the read early", "1 2 / 3\n4\n", "iii|i", "1 2 - | 4"},
      {"a slash right after a value", "1/\n2\n", "ii|i", "1 - | 2"},
      {"repeat counts", "3*7 2\n", "iiii", "7 7 7 2"},
      {"repeated reals and nulls", "2*1.5 2* 4\n", "rrrrr", "1.5 1.5 - - 4"},
      {"repeat across reads is dropped", "3*7\n8\n", "i|i", "7 | 8"},
      {"quoted text with doubled quotes", "'it''s' \"a \"\"b\"\"\"\n", "tt", "'it's' 'a \"b\"'"},
      {"quoted text keeps blanks, commas, slashes", "'a, b / c'  x\n", "tt", "'a, b / c' 'x'"},
      {"unquoted text ends at a comma or slash", "abc,def/ghi\n", "ttt", "'abc' 'def' -"},
      {"repeated quoted text", "2*'ab' c\n", "ttt", "'ab' 'ab' 'c'"},
      {"paths run to a blank or comma, as written", "k /a/b.qd,C:/g1.qd\td/ 2*e\n", "tpppp",
       "'k' '/a/b.qd' 'C:/g1.qd' 'd/' '2*e'"},
      {"a lone slash ends a path read", "k / a\nk,/,a\n", "tp|tp", "'k' - | 'k' -"},
      {"a slash attached to the value before ends it", "k/a\n'k'/a\n'a b'/c\n", "tp|tp|pp", "'k' - | 'k' - | 'a b' -"},
      {"signed integers", "+3 -4 0\n", "iii", "3 -4 0"},
      {"real number forms", "1.7 .5 -2. 1e3 1.0D-2 +3 -1.5E+01\n", "rrrrrrr", "1.7 0.5 -2 1000 0.01 3 -15"},
      {"empty lines are skipped", "\n\n  \n5\n", "i", "5"},
      {"end of file inside a read", "1\n", "ii", "1 EOF"},
      {"end of file before a read", "", "i", "EOF"},
      {"lines ending in CR LF", "1 2\r\n3\r\n", "i|i", "1 | 3"},
      {"text up to the line's end", "L3\n", "t", "'L3'"},
  };
  for (const ReaderCase& c : cases) {
    EXPECT_EQ(run_script(c.content, c.script), c.expected) << c.what;
  }
}

TEST(FreeFormatReader, RejectsMalformedValuesNamingFileAndLine) {
  const ReaderCase cases[] = {
      {"integer with a decimal point", "1.\n", "i", "input.txt line 1: expected an integer, found '1.'"},
      {"integer with an exponent", "1e3\n", "i", "input.txt line 1: expected an integer, found '1e3'"},
      {"text for a number", "1\n2\nabc\n", "r|r|r", "input.txt line 3: expected a number, found 'abc'"},
      {"quoted number", "'1'\n", "r", "input.txt line 1: expected a number, found '1'"},
      {"incomplete exponent", "1.5e\n", "r", "input.txt line 1: expected a number, found '1.5e'"},
      {"a lone sign", "-\n", "i", "input.txt line 1: expected an integer, found '-'"},
      {"missing closing quote", "'abc\n", "t", "input.txt line 1: missing closing quote '"},
      {"integer beyond 32 bits", "3000000000\n", "i", "input.txt line 1: integer out of range: '3000000000'"},
      {"number beyond the double range", "1 -2d400\n", "rr", "input.txt line 1: number out of range: '-2d400'"},
  };
  for (const ReaderCase& c : cases) {
    try {
      run_script(c.content, c.script);
      ADD_FAILURE() << c.what << ": no error";
    } catch (const Error& error) {
      EXPECT_EQ(std::string(error.what()), c.expected) << c.what;
    }
  }
}

TEST(FreeFormatReader, ReadsWholeLinesForTitles) {
  std::istringstream in("  title with  blanks  \r\n1 2\n");
  FreeFormatReader reader(in, "t.txt");
  std::string line;
  ASSERT_TRUE(reader.read_line(line));
  EXPECT_EQ(line, "  title with  blanks  ");
  reader.begin_read();
  int value = 0;
  EXPECT_EQ(reader.get_integer(value), Got::value);
  EXPECT_EQ(value, 1);
  EXPECT_EQ(reader.line_number(), 2);
  EXPECT_FALSE(reader.read_line(line));
}

// A line may hold up to the cap; one character more ends the read there,
// naming the line, rather than reading on into memory.
TEST(FreeFormatReader, CapsTheLengthOfALine) {
  const std::string longest(static_cast<std::size_t>(max_line_length), '7');
  std::istringstream in("title\n" + longest + "\n" + longest + "7\n1\n");
  FreeFormatReader reader(in, "t.txt");
  std::string line;
  ASSERT_TRUE(reader.read_line(line));
  ASSERT_TRUE(reader.read_line(line));
  EXPECT_EQ(line.size(), longest.size());
  try {
    reader.read_line(line);
    ADD_FAILURE() << "a line beyond the cap was read";
  } catch (const Error& error) {
    EXPECT_EQ(std::string(error.what()),
              "t.txt line 3: the line is longer than 1048576 characters (1 MiB), the most a line may hold: is this a "
              "text file?");
    EXPECT_EQ(error.diagnostic().code, ErrorCode::limit_exceeded);
    EXPECT_EQ(error.diagnostic().line, 3);
  }
}

}  // namespace
}  // namespace irteq
