#include <gtest/gtest.h>

#include <climits>

#include "toolkit/layout_parser.h"
#include "toolkit/layout_values.h"

namespace DuiLib {
namespace {

TEST(LayoutParser, AcceptsTheDialect) {
  const std::wstring text =
      L"<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<!-- layout -->\n"
      L"<Window size = \"700,420\" x=\"&lt;&amp;&gt;&quot;&apos;&copy;&\">\n"
      L"  <Label text=\"< 返回\" tip=\"it's > here\" />\n"
      L"  <?pi ?><!-- between -->\n"
      L"  <Box a=\"1\"b=\"2\">  some &amp; text </Box  >\n"
      L"</Window>";
  XmlElement root;
  XmlError error;
  ASSERT_TRUE(ParseLayoutDocument(text, root, error)) << error.Describe();
  EXPECT_EQ(root.name, L"Window");
  ASSERT_EQ(root.attributes.size(), 2u);
  EXPECT_EQ(root.attributes[0].name, L"size");
  EXPECT_EQ(root.attributes[0].value, L"700,420");
  EXPECT_EQ(root.attributes[1].value, L"<&>\"'&copy;&");
  ASSERT_EQ(root.children.size(), 2u);
  EXPECT_EQ(*root.children[0].FindAttribute(L"text", false), L"< 返回");
  EXPECT_EQ(*root.children[0].FindAttribute(L"tip", false), L"it's > here");
  EXPECT_EQ(root.children[0].FindAttribute(L"TEXT", false), nullptr);
  EXPECT_EQ(*root.children[0].FindAttribute(L"TEXT", true), L"< 返回");
  EXPECT_EQ(root.children[1].attributes.size(), 2u);
  EXPECT_EQ(root.children[1].text, L"some & text ");
}

TEST(LayoutParser, CommentEndsAtFirstArrow) {
  XmlElement root;
  XmlError error;
  ASSERT_TRUE(ParseLayoutDocument(L"<W><!-- old -> <Label name=\"x\"/> --></W>", root, error))
      << error.Describe();
  ASSERT_EQ(root.children.size(), 1u);
  EXPECT_EQ(root.children[0].name, L"Label");
  EXPECT_EQ(root.text, L"-->");
}

TEST(LayoutParser, KeepsAtMost64Attributes) {
  std::wstring text = L"<W";
  for (int i = 0; i < 70; ++i) text += L" a" + std::to_wstring(i) + L"=\"" + std::to_wstring(i) + L"\"";
  text += L"/>";
  XmlElement root;
  XmlError error;
  ASSERT_TRUE(ParseLayoutDocument(text, root, error));
  ASSERT_EQ(root.attributes.size(), kMaxAttributes);
  EXPECT_EQ(root.attributes.back().name, L"a63");
}

TEST(LayoutParser, ReportsWhyAndWhereItStopped) {
  struct Case {
    const wchar_t* text;
    const wchar_t* message;
  };
  const Case cases[] = {
      {L"", L"Expected start tag"},
      {L"  hello", L"Expected start tag"},
      {L"<!-- never closed", L"Expected start tag"},
      {L"<>", L"Error parsing element name"},
      {L"<W><%/></W>", L"Error parsing element name"},
      {L"<W a>", L"Error while parsing attributes"},
      {L"<W =\"1\"/>", L"Error while parsing attributes"},
      {L"<W a=1/>", L"Expected attribute value"},
      {L"<W a='1'/>", L"Expected attribute value"},
      {L"<W a=\"1/>", L"Error while parsing attribute string"},
      {L"<W", L"Expected start-tag closing"},
      {L"<W/ >", L"Expected start-tag closing"},
      {L"<W>", L"Expected end-tag start"},
      {L"<W><L/>text", L"Expected end-tag start"},
      {L"<W><!-- open </W>", L"Expected end-tag start"},
      {L"<W></X>", L"Unmatched closing tag"},
      {L"<W></w>", L"Unmatched closing tag"},
      {L"<W></W x>", L"Unmatched closing tag"},
  };
  for (const Case& c : cases) {
    XmlElement root;
    XmlError error;
    EXPECT_FALSE(ParseLayoutDocument(c.text, root, error)) << c.text;
    EXPECT_EQ(error.message, c.message) << c.text;
    EXPECT_TRUE(root.name.empty() && root.children.empty());
  }

  XmlElement root;
  XmlError error;
  ASSERT_FALSE(ParseLayoutDocument(L"<W>\n  <L c=x/>\n</W>", root, error));
  EXPECT_EQ(error.line, 2u);
  EXPECT_EQ(error.column, 8u);
  EXPECT_EQ(error.Describe(), L"Expected attribute value (line 2, column 8)");
}

TEST(LayoutParser, RefusesNestingBeyondTheLimitWithoutOverflowingTheStack) {
  auto nested = [](std::size_t depth) {
    std::wstring text;
    for (std::size_t i = 0; i < depth; ++i) text += L"<a>";
    for (std::size_t i = 0; i < depth; ++i) text += L"</a>";
    return text;
  };
  XmlElement root;
  XmlError error;
  EXPECT_TRUE(ParseLayoutDocument(nested(kMaxElementDepth), root, error)) << error.Describe();
  EXPECT_FALSE(ParseLayoutDocument(nested(kMaxElementDepth + 1), root, error));
  EXPECT_EQ(error.message, L"Elements nested too deeply");
  // Far deeper than any stack could recurse.
  std::wstring deep;
  for (int i = 0; i < 400000; ++i) deep += L"<a>";
  EXPECT_FALSE(ParseLayoutDocument(deep, root, error));
  EXPECT_EQ(error.message, L"Elements nested too deeply");
}

TEST(LayoutDocumentText, DecodesUtf8WithOrWithoutByteOrderMark) {
  EXPECT_EQ(DecodeLayoutDocument("\xEF\xBB\xBF<W t=\"\xE5\xAE\x89\"/>"), L"<W t=\"安\"/>");
  EXPECT_EQ(DecodeLayoutDocument("<W/>"), L"<W/>");
  EXPECT_EQ(DecodeLayoutDocument("\xEF\xBB"), L"\xFFFD");
}

TEST(LayoutValues, IntegersPairsAndRectangles) {
  EXPECT_EQ(ParseLayoutInt(L" 42px"), 42);
  EXPECT_EQ(ParseLayoutInt(L"-7"), -7);
  EXPECT_EQ(ParseLayoutInt(L"+7"), 7);
  EXPECT_EQ(ParseLayoutInt(L"abc"), 0);
  EXPECT_EQ(ParseLayoutInt(L"-"), 0);
  EXPECT_EQ(ParseLayoutInt(L"99999999999999"), INT_MAX);
  EXPECT_EQ(ParseLayoutInt(L"-99999999999999"), INT_MIN);

  struct Case {
    const wchar_t* text;
    int expected[4];
  };
  const Case cases[] = {
      {L"0,0,0,35", {0, 0, 0, 35}},
      {L"9, 3 ,4,0", {9, 3, 0, 4}},  // the separator is exactly one character
      {L"1,,3,4", {1, 0, 3, 4}},
      {L"5", {5, 0, 0, 0}},
      {L"", {0, 0, 0, 0}},
      {L"-1;-2;-3;-4;-5", {-1, -2, -3, -4}},
  };
  for (const Case& c : cases) {
    int v[4] = {7, 7, 7, 7};
    ParseLayoutInts(c.text, v, 4);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(v[i], c.expected[i]) << c.text << " #" << i;
  }
}

TEST(LayoutValues, ColoursAndBooleans) {
  EXPECT_EQ(ParseLayoutColor(L"#FF333333"), 0xFF333333u);
  EXPECT_EQ(ParseLayoutColor(L"#26003b76"), 0x26003B76u);
  EXPECT_EQ(ParseLayoutColor(L"FF000000"), 0xFF000000u);
  EXPECT_EQ(ParseLayoutColor(L"#FFFFFF"), 0x00FFFFFFu);
  EXPECT_EQ(ParseLayoutColor(L"#12zz"), 0x12u);
  EXPECT_EQ(ParseLayoutColor(L"#"), 0u);
  EXPECT_EQ(ParseLayoutColor(L"#FFFFFFFFFF"), 0xFFFFFFFFu);

  EXPECT_TRUE(ParseControlBool(L"true"));
  EXPECT_FALSE(ParseControlBool(L"True"));
  EXPECT_FALSE(ParseControlBool(L"1"));
  EXPECT_TRUE(ParseWindowBool(L"TRUE"));
  EXPECT_FALSE(ParseWindowBool(L"yes"));
}

}  // namespace
}  // namespace DuiLib
