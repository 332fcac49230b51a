#include "env/registry.h"

#include <gtest/gtest.h>

#include "env/registry_sandbox.h"

namespace {

using Utils::RegRoot;

TEST(RegistryText, EncodesTwoBytesPerUnitWithoutTerminator) {
  EXPECT_EQ(Utils::EncodeRegistryText(L"D:\\"), (std::vector<uint8_t>{'D', 0, ':', 0, '\\', 0}));
  EXPECT_EQ(Utils::EncodeRegistryText(L"安"), (std::vector<uint8_t>{0x89, 0x5B}));
  const std::wstring outsideBmp = L"a\U0001F600b";
  const auto bytes = Utils::EncodeRegistryText(outsideBmp);
  EXPECT_EQ(bytes.size(), 8u) << "a surrogate pair is two units";
  EXPECT_EQ(Utils::DecodeRegistryText(bytes.data(), bytes.size()), outsideBmp);
}

TEST(RegistryText, DecodesUpToTheFirstZeroOrTheEnd) {
  const std::vector<uint8_t> withZero{'a', 0, 'b', 0, 0, 0, 'c', 0};
  EXPECT_EQ(Utils::DecodeRegistryText(withZero.data(), withZero.size()), L"ab");
  const std::vector<uint8_t> odd{'a', 0, 'b'};
  EXPECT_EQ(Utils::DecodeRegistryText(odd.data(), odd.size()), L"ab");
  EXPECT_EQ(Utils::DecodeRegistryText(nullptr, 0), L"");
}

class RegistryRecord : public ::testing::Test {
 protected:
  Utils::Testing::RegistrySandbox sandbox;
};

TEST_F(RegistryRecord, StringRoundTripsAndReplaces) {
  const std::wstring path = L"D:\\软件\\Quorvane";
  ASSERT_TRUE(Utils::RegWriteString(RegRoot::CurrentUser, sandbox.Key(), L"InstallPath",
                                    Utils::kRegSz, path));
  Utils::RegValueType type = 0;
  std::wstring text;
  ASSERT_TRUE(Utils::RegReadString(RegRoot::CurrentUser, sandbox.Key(), L"InstallPath", type, text));
  EXPECT_EQ(text, path);
  EXPECT_EQ(type, Utils::kRegSz);

  ASSERT_TRUE(Utils::RegWriteString(RegRoot::CurrentUser, sandbox.Key(), L"installpath",
                                    Utils::kRegSz, L"E:\\Q"));
  ASSERT_TRUE(Utils::RegReadString(RegRoot::CurrentUser, sandbox.Key(), L"INSTALLPATH", type, text))
      << "names match without regard to case";
  EXPECT_EQ(text, L"E:\\Q");

  ASSERT_TRUE(Utils::RegWriteString(RegRoot::CurrentUser, sandbox.Key(), L"Empty", Utils::kRegSz, L""));
  ASSERT_TRUE(Utils::RegReadString(RegRoot::CurrentUser, sandbox.Key(), L"Empty", type, text));
  EXPECT_EQ(text, L"");
}

TEST_F(RegistryRecord, ValueWithAndWithoutTerminatorReadTheSame) {
  auto bytes = Utils::EncodeRegistryText(L"D:\\Apps\\Quorvane");
  ASSERT_TRUE(Utils::RegWriteData(RegRoot::CurrentUser, sandbox.Key(), L"Bare", Utils::kRegSz, bytes));
  bytes.push_back(0);
  bytes.push_back(0);
  ASSERT_TRUE(Utils::RegWriteData(RegRoot::CurrentUser, sandbox.Key(), L"Terminated",
                                  Utils::kRegBinary, bytes));
  Utils::RegValueType type = 0;
  std::wstring bare, terminated;
  ASSERT_TRUE(Utils::RegReadString(RegRoot::CurrentUser, sandbox.Key(), L"Bare", type, bare));
  ASSERT_TRUE(Utils::RegReadString(RegRoot::CurrentUser, sandbox.Key(), L"Terminated", type, terminated));
  EXPECT_EQ(bare, L"D:\\Apps\\Quorvane");
  EXPECT_EQ(terminated, bare);
  EXPECT_EQ(type, Utils::kRegBinary) << "the type is reported, not checked";
}

TEST_F(RegistryRecord, MissingKeyOrValueLeavesTheOutputsAlone) {
  Utils::RegValueType type = 77;
  std::wstring text = L"unchanged";
  EXPECT_FALSE(Utils::RegReadString(RegRoot::CurrentUser, sandbox.Key(), L"InstallPath", type, text));
  ASSERT_TRUE(Utils::RegWriteString(RegRoot::CurrentUser, sandbox.Key(), L"Other", Utils::kRegSz, L"x"));
  EXPECT_FALSE(Utils::RegReadString(RegRoot::CurrentUser, sandbox.Key(), L"InstallPath", type, text));
  EXPECT_FALSE(Utils::RegReadString(RegRoot::CurrentUser, sandbox.Key() + L"\\Missing", L"Other", type, text));
  EXPECT_EQ(text, L"unchanged");
  EXPECT_EQ(type, 77u);
}

}  // namespace
