// Stand-ins for the outside world of the core: a settable clock, a timer ticked by hand,
// a message box that records, a data file in memory and a dial-up switch.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "core/common/Clock.h"
#include "core/common/Timer.h"
#include "core/dialup/DialUpProbe.h"
#include "core/host/WMsgBox.h"
#include "core/store/DataFile.h"
#include "core/store/ReservedBlock.h"

namespace reminder::testing {

class FakeClock : public IClock {
 public:
  explicit FakeClock(TDateTime now = 0) : now(now) {}
  TDateTime Now() override {
    ++reads;
    return now;
  }
  TDateTime now;
  int reads = 0;
};

struct TimerState {
  bool enabled = false;
  uint32_t intervalMs = 0;
  std::function<void()> onTick;
  std::vector<bool> enabledHistory;
};

// The scheduler owns its timer, so the test keeps the state outside it.
class FakeTimer : public ITimer {
 public:
  explicit FakeTimer(TimerState& state) : state_(state) {}
  void SetEnabled(bool enabled) override {
    state_.enabled = enabled;
    state_.enabledHistory.push_back(enabled);
  }
  void SetIntervalMs(uint32_t ms) override { state_.intervalMs = ms; }
  void SetOnTick(std::function<void()> handler) override { state_.onTick = std::move(handler); }

 private:
  TimerState& state_;
};

struct ShownBox {
  std::string text;
  std::string caption;
  uint32_t style;
  TMsgOwner owner;
};

class FakeMsgBox : public IMsgBox {
 public:
  int Show(const std::string& text, const std::string& caption, uint32_t style,
           TMsgOwner owner) override {
    shown.push_back({text, caption, style, owner});
    return 1;
  }
  std::vector<ShownBox> shown;
};

class MemoryDataFile : public IDataFile {
 public:
  bool Read(const std::string& path, TFileBytes& bytes) override {
    ++reads;
    bytes = {};
    auto it = files.find(path);
    if (it == files.end()) return false;
    bytes.data.reset(new char[it->second.size()]);
    it->second.copy(bytes.data.get(), it->second.size());
    bytes.size = it->second.size();
    return true;
  }
  bool Replace(const std::string& path, std::string_view bytes) override {
    ++writes;
    if (failWrites) return false;
    files[path] = std::string(bytes);
    return true;
  }
  std::map<std::string, std::string> files;
  bool failWrites = false;
  int reads = 0;
  int writes = 0;
};

class FakeDialUp : public IDialUpProbe {
 public:
  bool IsConnected() override {
    ++probes;
    return connected;
  }
  bool connected = false;
  int probes = 0;
};

// Identities numbered 1, 2, 3 ... in the order they are asked for.
class CountingIdentities : public IIdentitySource {
 public:
  static TIdentity Number(uint32_t n) {
    TIdentity id;
    for (int i = 0; i < 4; ++i) id.Bytes[i] = static_cast<uint8_t>(n >> (8 * i));
    id.Bytes[15] = 0xA5;
    return id;
  }
  // The record with the n-th identity, as the store saves it.
  static TNotifyInfo With(TNotifyInfo record, uint32_t n) {
    SetIdentity(record, Number(n));
    return record;
  }
  TIdentity NewIdentity() override { return Number(++issued); }
  uint32_t issued = 0;
};

}  // namespace reminder::testing
