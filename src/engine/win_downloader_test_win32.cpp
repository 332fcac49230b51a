#include <gtest/gtest.h>

#include <vector>

#include "engine/win_downloader.h"

namespace {

TEST(BindCallback, AnswersAsTheDownloadServiceExpects) {
  std::vector<std::pair<int32_t, double>> events;
  CWinDownloader::CBindCallback callback;
  callback.callback = [&](int32_t code, double value, const wchar_t*) {
    events.emplace_back(code, value);
  };
  void* out = &events;
  EXPECT_EQ(callback.QueryInterface(IID_IUnknown, &out), E_NOTIMPL);
  EXPECT_EQ(out, &events);  // not written
  EXPECT_EQ(callback.AddRef(), 0u);
  EXPECT_EQ(callback.Release(), 0u);
  auto* binding = reinterpret_cast<IBinding*>(&events);
  EXPECT_EQ(callback.OnStartBinding(0, binding), E_NOTIMPL);
  EXPECT_EQ(callback.binding, binding);
  LONG priority = 0;
  EXPECT_EQ(callback.GetPriority(&priority), E_NOTIMPL);
  EXPECT_EQ(callback.OnLowResource(0), E_NOTIMPL);
  EXPECT_EQ(callback.OnStopBinding(S_OK, nullptr), E_NOTIMPL);
  BINDINFO info{};
  info.cbSize = sizeof info;
  DWORD flags = 0;
  EXPECT_EQ(callback.GetBindInfo(&flags, &info), E_NOTIMPL);
  EXPECT_EQ(info.dwCodePage, static_cast<DWORD>(CP_UTF8));
  EXPECT_EQ(callback.GetBindInfo(&flags, nullptr), E_NOTIMPL);
  EXPECT_EQ(callback.OnDataAvailable(0, 0, nullptr, nullptr), E_NOTIMPL);
  EXPECT_EQ(callback.OnObjectAvailable(IID_IUnknown, nullptr), E_NOTIMPL);
  EXPECT_EQ(callback.GetBindInfoEx(&flags, &info, nullptr, nullptr), E_NOTIMPL);

  // Progress: nothing without a maximum; the fraction as unsigned 32-bit
  // numbers otherwise; an abort once finished.
  EXPECT_EQ(callback.OnProgress(5, 0, 0, nullptr), S_OK);
  EXPECT_EQ(callback.OnProgress(0xFFFFFFFFu, 0xFFFFFFFFu, 0, nullptr), S_OK);
  EXPECT_EQ(callback.OnProgress(1, 4, 0, L"x"), S_OK);
  callback.finished = true;
  EXPECT_EQ(callback.OnProgress(2, 4, 0, nullptr), E_ABORT);
  EXPECT_EQ(events, (std::vector<std::pair<int32_t, double>>{{1002, 1.0}, {1002, 0.25}}));
}

}  // namespace
