#include "win32/host/DLLSynchronizer.h"

#include <memory>
#include <stdexcept>
#include <utility>

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace reminder {

namespace {

const char kSyncClass[] = "ReminderSyncHelper";

std::unique_ptr<TSyncHelper> g_syncHelper;

HINSTANCE ModuleInstance() {
  return reinterpret_cast<HINSTANCE>(&__ImageBase);
}

void RegisterSyncClass(WNDPROC procedure) {
  WNDCLASSEXA windowClass = {};
  windowClass.cbSize = sizeof windowClass;
  // A class left behind by an earlier load of the module points at that load's procedure.
  if (GetClassInfoExA(ModuleInstance(), kSyncClass, &windowClass)) {
    if (windowClass.lpfnWndProc == procedure) return;
    UnregisterClassA(kSyncClass, ModuleInstance());
  }
  windowClass = {};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = ModuleInstance();
  windowClass.lpszClassName = kSyncClass;
  RegisterClassExA(&windowClass);
}

}  // namespace

TSyncHelper::TSyncHelper() {
  RegisterSyncClass(&WindowProc);
  window_ = CreateWindowExA(0, kSyncClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                            ModuleInstance(), this);
  if (!window_) throw std::runtime_error("Das Synchronisationsfenster fehlt.");
}

TSyncHelper::~TSyncHelper() {
  SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
  DestroyWindow(window_);
}

void TSyncHelper::QueueCall(std::function<void()> call) {
  {
    std::lock_guard<std::mutex> guard(lock_);
    queue_.push_back(std::move(call));
  }
  WakeUp();
}

void TSyncHelper::WakeUp() {
  PostMessageA(window_, kSyncWakeUpMessage, 0, 0);
}

void TSyncHelper::RunQueued() {
  std::deque<std::function<void()>> batch;
  {
    std::lock_guard<std::mutex> guard(lock_);
    batch.swap(queue_);
  }
  // Without the lock, so that a call may queue further calls.
  for (std::function<void()>& call : batch) {
    try {
      call();
    } catch (...) {
      // A queued call has no caller left to report to.
    }
  }
}

LRESULT CALLBACK TSyncHelper::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* helper = reinterpret_cast<TSyncHelper*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (message == kSyncWakeUpMessage && helper) {
    helper->RunQueued();
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

TSyncHelper* SyncHelper() {
  return g_syncHelper.get();
}

void CreateSyncHelper() {
  if (!g_syncHelper) g_syncHelper = std::make_unique<TSyncHelper>();
}

void DestroySyncHelper() {
  g_syncHelper.reset();
}

}  // namespace reminder
