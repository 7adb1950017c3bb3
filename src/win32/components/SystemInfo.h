// The system-information component: reads facts about the computer and the user once per
// interval while enabled, words them (core/ui/SystemInfoText.h) and reports a change of
// any text through OnNewValues. All texts are empty until the first refresh.
#pragma once

#include <functional>

#include "core/ui/SystemInfoText.h"
#include "win32/toolkit/WindowTimer.h"

namespace reminder {

// Reads the raw facts from the system; memory through the 64-bit query, so figures beyond
// 4 GB are not capped.
TSystemFacts ReadSystemFacts();

class TSystemInfo {
 public:
  // Starts enabled, with its timer running; no value is read yet.
  TSystemInfo();
  ~TSystemInfo();
  TSystemInfo(const TSystemInfo&) = delete;
  TSystemInfo& operator=(const TSystemInfo&) = delete;

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  void SetInterval(uint32_t milliseconds) { timer_.SetIntervalMs(milliseconds); }
  void SetOnNewValues(std::function<void(TSystemInfo&)> handler) {
    onNewValues_ = std::move(handler);
  }

  // Reads everything anew; true when any text changed.
  bool RefreshValues();
  const TSystemInfoTexts& Texts() const { return texts_; }

  // Where the facts come from; tests hand in their own.
  void SetFactsSource(std::function<TSystemFacts()> source) { source_ = std::move(source); }

 private:
  void TimerTick();

  TWindowTimer timer_;
  bool enabled_ = false;
  bool destroying_ = false;
  TSystemInfoTexts texts_;
  std::function<void(TSystemInfo&)> onNewValues_;
  std::function<TSystemFacts()> source_ = &ReadSystemFacts;
};

}  // namespace reminder
