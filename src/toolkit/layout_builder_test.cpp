#include <gtest/gtest.h>

#include "toolkit/layout_test_support.h"
#include "toolkit/layout_values.h"

namespace DuiLib {
namespace {

using testing::TestWindow;

TEST(LayoutBuilder, WindowAttributesFontsAndCustomAttributes) {
  TestWindow t;
  ASSERT_TRUE(t.Load(u8R"(<?xml version="1.0" encoding="utf-8"?>
<Window SIZE="700,420" caption="0,0,0,35" roundcorner="12,12" showshadow="true"
        ShadowSize="12" shadowposition="2,2" shadowcolor="#26003B76" mininfo="1,1">
  <Font id="0" name="微软雅黑" size="14" bold="false" default="True"/>
  <Font ID="9" Name="微软雅黑" size="38" bold = "true" />
  <Font id="3" name="A" size="20"/>
  <Font id="3" name="B" size="22" italic="TRUE" underline="true"/>
  <Font id="-1" name="Ignored" size="50"/>
  <Font id="4" size="50"/>
  <Font id="5" name="0123456789012345678901234567890123456789"/>
  <VerticalLayout name="root"/>
</Window>)"));
  CWindowContext& w = t.window;
  EXPECT_EQ(w.GetInitSize().cx, 700);
  EXPECT_EQ(w.GetInitSize().cy, 420);
  EXPECT_EQ(w.GetCaptionRect(), Rect(0, 0, 0, 35));
  EXPECT_EQ(w.GetRoundCorner().cx, 12);
  ASSERT_NE(w.GetCustomAttribute(L"showshadow"), nullptr);
  EXPECT_EQ(*w.GetCustomAttribute(L"showshadow"), L"true");
  EXPECT_EQ(*w.GetCustomAttribute(L"shadowsize"), L"12");
  EXPECT_EQ(*w.GetCustomAttribute(L"SHADOWCOLOR"), L"#26003B76");
  EXPECT_EQ(*w.GetCustomAttribute(L"mininfo"), L"1,1");
  EXPECT_EQ(w.GetCustomAttribute(L"size"), nullptr);
  EXPECT_EQ(w.GetCustomAttribute(L"shadowimage"), nullptr);

  EXPECT_EQ(w.GetDefaultFont().spec.face, L"微软雅黑");
  EXPECT_EQ(w.GetDefaultFont().spec.size, 14);
  EXPECT_EQ(w.GetDefaultFont().height, 14);
  EXPECT_TRUE(w.GetFont(9).spec.bold);
  EXPECT_EQ(w.GetFont(9).spec.size, 38);
  EXPECT_EQ(w.GetFont(3).spec.face, L"B");
  EXPECT_TRUE(w.GetFont(3).spec.italic);
  EXPECT_TRUE(w.GetFont(3).spec.underline);
  EXPECT_EQ(w.GetFont(4).spec.size, 14);  // no name: nothing created, the default answers
  EXPECT_EQ(w.GetFont(5).spec.face.size(), 31u);
  EXPECT_EQ(w.GetFont(-1).spec.size, 14);
}

TEST(LayoutBuilder, ElementAndAttributeNameRules) {
  TestWindow t;
  ASSERT_TRUE(t.Load(R"(<Window><VerticalLayout>
      <checkbox name="a" Width="80" width="30"/>
      <CHECKBOX name="b" visible="True"/>
      <Label name="c" visible="true" adding="5" isstretchfore="true" Text="X"/>
      <Edit name="d"/>
      <Progress name="e"/>
      <Mystery name="f"><Label name="inside"/></Mystery>
    </VerticalLayout></Window>)"));
  auto* a = t.Find<CCheckBoxUI>(L"a");
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->GetClass(), L"CheckBox");
  EXPECT_EQ(a->GetFixedWidth(), 30);
  auto* b = t.Find<CCheckBoxUI>(L"b");
  ASSERT_NE(b, nullptr);
  EXPECT_FALSE(b->IsVisible());
  auto* c = t.Find<CLabelUI>(L"c");
  ASSERT_NE(c, nullptr);
  EXPECT_TRUE(c->IsVisible());
  EXPECT_EQ(c->GetText(), L"");
  auto* d = t.Find<CEditUI>(L"d");
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->GetBkColor(), 0xFFFFFFFFu);
  EXPECT_EQ(d->GetTextPadding(), Rect(4, 3, 4, 3));
  auto* e = t.Find<CProgressUI>(L"e");
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e->GetFixedHeight(), 12);
  EXPECT_EQ(e->GetMaxValue(), 100);
  EXPECT_EQ(t.window.FindControl(L"f"), nullptr);
  EXPECT_EQ(t.window.FindControl(L"inside"), nullptr);
}

TEST(LayoutBuilder, ControlAttributes) {
  TestWindow t;
  ASSERT_TRUE(t.Load(R"(<Window><HorizontalLayout>
      <Label name="l" padding="1,2,3,4" bkcolor="#FF102030" bkimage="res\bk.png" text="&lt; 返回"
             userdata="正在安装%d%%" borderround="3,4" font="2" textcolor="#FF333333"
             align="right" valign="bottom" textpadding="9,0,9,3" multiline="true"/>
      <Button name="b" normalimage="n.png" hottextcolor="#FF5FAFFD" align="left"/>
      <Label name="v" align="vcenter" valign="top"/>
    </HorizontalLayout></Window>)"));
  auto* l = t.Find<CLabelUI>(L"l");
  ASSERT_NE(l, nullptr);
  EXPECT_EQ(l->GetPadding(), Rect(1, 2, 3, 4));
  EXPECT_EQ(l->GetBkColor(), 0xFF102030u);
  EXPECT_EQ(l->GetBkImage(), L"res\\bk.png");
  EXPECT_EQ(l->GetText(), L"< 返回");
  EXPECT_EQ(l->GetUserData(), L"正在安装%d%%");
  EXPECT_EQ(l->GetBorderRound().cx, 3);
  EXPECT_EQ(l->GetBorderRound().cy, 4);
  EXPECT_EQ(l->GetFont(), 2);
  EXPECT_EQ(l->GetTextColor(), 0xFF333333u);
  EXPECT_EQ(l->GetTextStyle(), unsigned(kTextRight | kTextBottom));
  EXPECT_EQ(l->GetTextPadding(), Rect(9, 0, 9, 3));
  EXPECT_TRUE(l->IsMultiLine());
  auto* b = t.Find<CButtonUI>(L"b");
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->GetTextStyle(), unsigned(kTextLeft | kTextVCenter));
  EXPECT_EQ(b->GetNormalImage(), L"n.png");
  // "vcenter" contains "center": the horizontal search finds it.
  EXPECT_EQ(t.Find<CLabelUI>(L"v")->GetTextStyle(), unsigned(kTextCenter | kTextTop));
}

TEST(LayoutBuilder, ChildrenExistBeforeTheContainersOwnAttributes) {
  TestWindow t;
  ASSERT_TRUE(t.Load(R"(<Window><TabLayout name="tabs" selectedid="2">
      <Control name="p0"/><Control name="p1"/><Control name="p2"/>
    </TabLayout></Window>)"));
  auto* tabs = t.Find<CTabLayoutUI>(L"tabs");
  ASSERT_NE(tabs, nullptr);
  EXPECT_EQ(tabs->GetCurSel(), 2);
  EXPECT_FALSE(t.Find(L"p0")->IsVisible());
  EXPECT_TRUE(t.Find(L"p2")->IsVisible());
}

TEST(LayoutBuilder, TabLayoutSelectionRules) {
  struct Case {
    const char* pages;
    int selected;
  };
  const Case cases[] = {
      {R"(<Control/><Control/><Control/>)", 0},
      {R"(<Control visible="false"/><Control/><Control/>)", 1},
      {R"(<Control visible="false"/><Control visible="false"/><Control/>)", 2},
      {R"(<Control visible="false"/><Control/><Control selectedid="0"/>)", 1},
      {R"(<Control/><Control/>)", 0},
  };
  for (const Case& c : cases) {
    TestWindow t;
    ASSERT_TRUE(t.Load(std::string("<Window><TabLayout name=\"tabs\">") + c.pages +
                       "</TabLayout></Window>"))
        << c.pages;
    auto* tabs = t.Find<CTabLayoutUI>(L"tabs");
    ASSERT_NE(tabs, nullptr);
    EXPECT_EQ(tabs->GetCurSel(), c.selected) << c.pages;
    for (int i = 0; i < tabs->GetCount(); ++i) {
      EXPECT_EQ(tabs->GetItemAt(i)->IsVisible(), i == c.selected) << c.pages << " page " << i;
    }
  }
  // "selectedid" overrides the first visible page; an index outside the
  // pages is ignored.
  for (const char* id : {"2", "0", "7", "-1"}) {
    TestWindow t;
    ASSERT_TRUE(t.Load(std::string("<Window><TabLayout name=\"tabs\" selectedid=\"") + id +
                       R"("><Control visible="false"/><Control/><Control/></TabLayout></Window>)"));
    const int expected = std::string(id) == "2" ? 2 : std::string(id) == "0" ? 0 : 1;
    EXPECT_EQ(t.Find<CTabLayoutUI>(L"tabs")->GetCurSel(), expected) << id;
  }
}

class FactoryControl : public CButtonUI {
 public:
  std::wstring_view GetClass() const override { return L"SequenceButton"; }
  void SetAttribute(std::wstring_view name, std::wstring_view value) override {
    if (EqualsNoCase(name, L"sequencecount")) {
      count = ParseLayoutInt(value);
    } else {
      CButtonUI::SetAttribute(name, value);
    }
  }
  int count = 0;
};

class Factory : public IDialogBuilderCallback {
 public:
  std::unique_ptr<CControlUI> CreateControl(std::wstring_view name) override {
    asked.emplace_back(name);
    if (EqualsNoCase(name, L"SequenceButton")) return std::make_unique<FactoryControl>();
    return nullptr;
  }
  std::vector<std::wstring> asked;
};

TEST(LayoutBuilder, FactoryAnswersUnknownElementsOnly) {
  TestWindow t;
  Factory factory;
  ASSERT_TRUE(t.Load(R"(<Window><VerticalLayout>
      <sequencebutton name="s" SequenceCount="3" text="go"/>
      <Button name="plain"/>
      <Unknown><Button name="lost"/></Unknown>
    </VerticalLayout></Window>)",
                     &factory));
  auto* s = t.Find<FactoryControl>(L"s");
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->count, 3);
  EXPECT_EQ(s->GetText(), L"go");
  EXPECT_EQ(factory.asked, (std::vector<std::wstring>{L"sequencebutton", L"Unknown"}));
  EXPECT_EQ(t.window.FindControl(L"lost"), nullptr);
}

TEST(LayoutBuilder, CommentEndingEarlyLeavesItsRestAsContent) {
  TestWindow t;
  ASSERT_TRUE(t.Load(R"(<Window><VerticalLayout>
      <!-- retired: -> <Label name="revived"/> -->
    </VerticalLayout></Window>)"));
  EXPECT_NE(t.Find<CLabelUI>(L"revived"), nullptr);
}

TEST(LayoutBuilder, FailuresYieldNoRoot) {
  struct Case {
    std::string bytes;
    const wchar_t* message;
  };
  const Case cases[] = {
      {"", L"File is empty"},
      {std::string(kMaxLayoutDocumentBytes + 1, ' '), L"File too large"},
      {"<Window><Label></Window>", L"Unmatched closing tag"},
      {"<Window size='1,1'/>", L"Expected attribute value"},
      {"<Window><Font id=\"0\" name=\"x\"/></Window>", L""},
      {"<Window><Unknown/></Window>", L""},
  };
  for (const Case& c : cases) {
    CWindowContext window;
    XmlError error;
    EXPECT_EQ(BuildLayoutFromBytes(c.bytes, nullptr, window, error), nullptr);
    EXPECT_EQ(error.message, c.message);
  }
}

TEST(LayoutBuilder, FindsControlsByExactName) {
  TestWindow t;
  ASSERT_TRUE(t.Load(R"(<Window><VerticalLayout name="root">
      <HorizontalLayout><Button name="okBtn"/></HorizontalLayout>
      <Button name="okBtn" text="second"/>
    </VerticalLayout></Window>)"));
  ASSERT_NE(t.Find(L"okBtn"), nullptr);
  EXPECT_EQ(t.Find(L"okBtn")->GetText(), L"");
  EXPECT_EQ(t.Find(L"okbtn"), nullptr);
  EXPECT_EQ(t.Find(L""), nullptr);
  EXPECT_EQ(t.Find(L"root"), t.window.GetRoot());
}

}  // namespace
}  // namespace DuiLib
