#include "osd/Flashosd.h"

#include "osd/InvokeRequest.h"
#include "osd/OverlayStyle.h"
#include "osd/PngReader.h"
#include "remote/DigitSequence.h"
#include "remote/NoticeSequence.h"
#include "remote/RcController.h"

#include "formkit/Assert.h"
#include "formkit/Screen.h"

#include <oleauto.h>

#include <string_view>

std::int32_t MovieState = 0;
TFlashOsdForm* FlashOsdForm = nullptr;

namespace {

formkit::TNotifyEvent g_movieEvent;

constexpr std::string_view ExternalCommand = "externalCommand";

std::wstring AnsiToWide(std::string_view text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0);
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), size, wide.data(), length);
  return wide;
}

struct BstrDeleter {
  void operator()(OLECHAR* text) const { SysFreeString(text); }
};
using Bstr = std::unique_ptr<OLECHAR, BstrDeleter>;

RECT WindowBounds(HWND window) {
  RECT bounds{};
  GetWindowRect(window, &bounds);
  return bounds;
}

}  // namespace

// --- TTransFlash -------------------------------------------------------------

TTransFlash::TTransFlash(HWND parent, const std::wstring& path)
    : m_library(LoadFlashLibrary()), m_handle(m_library.create(parent, path.c_str())), m_parent(parent) {}

void TTransFlash::MoveTo(int x, int y) {
  m_offsetX = x;
  m_offsetY = y;
  const RECT parent = WindowBounds(m_parent);
  SetWindowPos(Handle(), nullptr, parent.left + x, parent.top + y, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TTransFlash::Resize(unsigned width, unsigned height) {
  m_width = width;
  m_height = height;
  SetWindowPos(Handle(), nullptr, 0, 0, static_cast<int>(width), static_cast<int>(height),
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TTransFlash::SetBounds(int x, int y, unsigned width, unsigned height) {
  MoveTo(x, y);
  Resize(width, height);
}

void TTransFlash::SetVisible(bool visible) {
  m_visible = visible;
  ApplyVisibility();
}

void TTransFlash::Suppress() {
  m_suppressed = true;
  ApplyVisibility();
}

void TTransFlash::Unsuppress() {
  m_suppressed = false;
  ApplyVisibility();
}

void TTransFlash::ApplyVisibility() {
  const UINT show = !m_suppressed && m_visible ? SWP_SHOWWINDOW : SWP_HIDEWINDOW;
  SetWindowPos(Handle(), nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | show);
}

void TTransFlash::SetCallback(FlashCallCallback callback) { m_library.setCallback(Handle(), callback); }

void TTransFlash::CallFunction(const std::wstring& request) {
  const Bstr text(SysAllocStringLen(request.data(), static_cast<UINT>(request.size())));
  if (!text) return;
  FlashCallArgs args{};
  args.request = text.get();
  m_library.callFunction(Handle(), args);
}

// --- movie call-backs ----------------------------------------------------------

const formkit::TNotifyEvent& MovieEvent() { return g_movieEvent; }

void __stdcall OnMovieCall(uintptr_t, uintptr_t, uintptr_t, uintptr_t) {
  switch (MovieState) {
    case 0:
      NoticeSequence::Instance()->OnMovieReady(0);
      MovieState = MovieStateProfileOnShown;
      break;
    case 1:
      NoticeSequence::Instance()->OnMovieReady(1);
      MovieState = MovieStateProfileOffShown;
      break;
    case 4:
      DigitSequence::Instance()->OnMovieReady();
      break;
    case 2:
    case 3:
    case 5:
    case MovieStateDigitsLeaving:
    case MovieStateProfileOnShown:
    case MovieStateProfileOffShown:
      if (g_movieEvent) g_movieEvent(nullptr);
      break;
    default:
      break;
  }
}

// --- placement -------------------------------------------------------------------

POINT CentredMoviePosition(int screenWidth, int screenHeight, unsigned width, unsigned height) {
  const int movieWidth = static_cast<int>(width);
  const int movieHeight = static_cast<int>(height);
  POINT position;
  position.x = (screenWidth - movieWidth) / 2;
  if (screenHeight < movieHeight) {
    position.y = screenHeight / 7;
  } else {
    position.y = static_cast<LONG>((screenHeight - 0.67 * movieHeight) * 0.5);
  }
  return position;
}

std::wstring MoviePath(const std::string& programFolder, const std::string& file) {
  // The doubled forward slashes are part of the path the movies have always had.
  return AnsiToWide(programFolder + "//Resource//" + file);
}

namespace {
POINT CentredOnScreen(unsigned width, unsigned height) {
  return CentredMoviePosition(formkit::Screen()->Width(), formkit::Screen()->Height(), width, height);
}
}  // namespace

// --- TFlashOsdForm ------------------------------------------------------------------

TFlashOsdForm::TFlashOsdForm(formkit::TComponent* owner)
    : TForm(owner), Background(new formkit::TImage(this)), Timer(new formkit::TTimer(this)) {
  SetBorderStyle(formkit::bsNone);
  SetCaption("FlashOsdForm");
  // Borderless: the window is exactly its client area.
  SetBounds(310, 190, 277, 206);
  Background->SetBounds(0, 0, 161, 169);
  Background->SetStretch(true);
  Timer->SetEnabled(false);
  Timer->SetInterval(HideTimeoutMs);
  Timer->SetOnTimer(formkit::Bind(this, &TFlashOsdForm::OnTimer));
}

TFlashOsdForm::~TFlashOsdForm() = default;

void TFlashOsdForm::CreateParams(formkit::TCreateParams& params) {
  TForm::CreateParams(params);
  params.ExStyle = OverlayExStyle(params.ExStyle);
}

const MovieSlot& TFlashOsdForm::Slot(int index) const {
  ZR_ASSERT(index >= 0 && index < SlotCount);
  return m_slots[static_cast<size_t>(index)];
}

int TFlashOsdForm::FindSlot(const std::string& key) const {
  for (int index = 0; index < SlotCount; ++index) {
    const MovieSlot& slot = m_slots[static_cast<size_t>(index)];
    if (slot.inUse && slot.key == key) return index;
  }
  return -1;
}

int TFlashOsdForm::AllocateSlot(const std::string& key) {
  if (FindSlot(key) != -1) return -1;
  for (int index = 0; index < SlotCount; ++index) {
    MovieSlot& slot = m_slots[static_cast<size_t>(index)];
    if (!slot.inUse) {
      slot.key = key;
      slot.inUse = 1;
      return index;
    }
  }
  return -1;
}

void TFlashOsdForm::LoadMovie(const std::string& key, const std::string& file, unsigned width, unsigned height) {
  const POINT position = CentredOnScreen(width, height);
  const int index = AllocateSlot(key);
  if (index == -1) return;
  MovieSlot& slot = m_slots[static_cast<size_t>(index)];
  slot.path = MoviePath(ProgramFolder(), file);
  m_players.push_back(std::make_unique<TTransFlash>(Handle(), slot.path));
  slot.player = m_players.back().get();
  slot.player->SetBounds(position.x, position.y, width, height);
  slot.player->SetVisible(false);
  slot.player->SetCallback(&OnMovieCall);
}

void TFlashOsdForm::CentreMovie(const std::string& key, unsigned width, unsigned height) {
  const POINT position = CentredOnScreen(width, height);
  const int index = FindSlot(key);
  if (index != -1) m_slots[static_cast<size_t>(index)].player->MoveTo(position.x, position.y);
}

void TFlashOsdForm::SelectMovie(int index) {
  ZR_ASSERT(index >= 0 && index < SlotCount);
  MovieState = index;
  m_currentPlayer = m_slots[static_cast<size_t>(index)].player;
}

void TFlashOsdForm::ForEachPlayer(void (TTransFlash::*action)()) {
  for (const auto& player : m_players) (player.get()->*action)();
}

void TFlashOsdForm::ShowCurrent() {
  ForEachPlayer(&TTransFlash::Unsuppress);
  if (m_currentPlayer) m_currentPlayer->SetVisible(true);
}

void TFlashOsdForm::HideCurrent() {
  ForEachPlayer(&TTransFlash::Suppress);
  if (m_currentPlayer) m_currentPlayer->SetVisible(false);
}

void TFlashOsdForm::Send(const std::string& request) {
  if (m_currentPlayer) m_currentPlayer->CallFunction(AnsiToWide(request));
}

void TFlashOsdForm::SendRequest(const std::string& request) {
  Send(request);
  Sleep(RequestSettleMs);
}

void TFlashOsdForm::SendShow() {
  Send(InvokeRequest(ExternalCommand, "show"));
  ShowCurrent();
}

void TFlashOsdForm::SendEnd() { Send(InvokeRequest(ExternalCommand, "end")); }

void TFlashOsdForm::SendShowLevel(int level) {
  Send(InvokeRequest(ExternalCommand, "show " + std::to_string(level)));
  Sleep(RequestSettleMs);
  ShowCurrent();
}

void TFlashOsdForm::SendPlay(int level) { Send(InvokeRequest(ExternalCommand, "play " + std::to_string(level))); }

void TFlashOsdForm::SendEndLevel(int level) {
  Send(InvokeRequest(ExternalCommand, "End " + std::to_string(level)));
}

void TFlashOsdForm::SendIn() {
  Send(InvokeRequest(ExternalCommand, "in"));
  ShowCurrent();
}

void TFlashOsdForm::SendSet2Digit(int value) {
  Send(InvokeRequest("set2Digit", std::to_string(value)));
  Sleep(RequestSettleMs);
}

void TFlashOsdForm::SendOut() {
  MovieState = MovieStateDigitsLeaving;
  Send(InvokeRequest(ExternalCommand, "out"));
}

void TFlashOsdForm::SetMovieEvent(const formkit::TNotifyEvent& handler) { g_movieEvent = handler; }

void TFlashOsdForm::OnTimer(formkit::TObject*) {
  Timer->SetEnabled(false);
  RcController::Instance()->OnOsdTimeout();
}
