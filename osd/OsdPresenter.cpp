#include "osd/OsdPresenter.h"

#include "osd/Flashosd.h"
#include "osd/InvokeRequest.h"
#include "osd/PngReader.h"

#include "formkit/Assert.h"
#include "formkit/Screen.h"
#include "formkit/Thread.h"

namespace {

struct MovieInfo {
  const char* key;
  const char* file;
  unsigned width;
  unsigned height;
};

// In slot order: the row number is the movie's index.
constexpr MovieInfo Movies[OsdPresenter::MovieCount] = {
    {"ZentrikProfileOn", "ZentrikProfileOn.swf", 400, 650},
    {"ZentrikProfileOff", "ZentrikProfileOff.swf", 400, 650},
    {"QPSAuto", "QPSAuto.swf", 400, 650},
    {"QPSManual", "QPSManual.swf", 750, 650},
    {"OCTuning", "OCTuning.swf", 550, 400},
    {"Warning", "Warning.swf", 400, 650},
};

std::string LabelRequest(const char* label) {
  return FittedInvokeRequest("changeLabel", label ? label : "", OsdPresenter::LabelCapacity);
}

std::string ContentRequest(const char* content) {
  return FittedInvokeRequest("changeContent", content ? content : "", OsdPresenter::ContentCapacity);
}

}  // namespace

OsdPresenter* OsdPresenter::Instance() {
  static OsdPresenter* instance = new OsdPresenter;
  return instance;
}

void OsdPresenter::LoadBackground() {
  m_eliminator = std::make_unique<plinth::FlickerEliminator>();
  m_eliminator->Attach(FlashOsdForm);
  m_maker = std::make_unique<plinth::LayeredWindowMaker>();
  // Nothing is applied yet: the form stays opaque until the first SetAlpha.
  m_maker->SetUseAlpha(true);
  m_maker->SetClickThrough(false);
  // Decoded straight into the form's image, which stretches it over the screen.
  LoadPng(ResourceFolder() + "bg_smoke01.png", FlashOsdForm->Background->Picture());
  FlashOsdForm->SetVisible(false);
}

void OsdPresenter::FitToScreen() {
  const int width = formkit::Screen()->Width();
  const int height = formkit::Screen()->Height();
  if (FlashOsdForm->Width() == width && FlashOsdForm->Height() == height) return;
  FlashOsdForm->Background->SetWidth(width);
  FlashOsdForm->Background->SetHeight(height);
  FlashOsdForm->SetWidth(width);
  FlashOsdForm->SetHeight(height);
  FlashOsdForm->SetLeft(0);
  FlashOsdForm->SetTop(0);
  FlashOsdForm->Invalidate();
}

void OsdPresenter::LoadMovies() {
  for (const MovieInfo& movie : Movies) FlashOsdForm->LoadMovie(movie.key, movie.file, movie.width, movie.height);
  PresetDigits(PresetDigitValue);
  HideAll();
}

void OsdPresenter::PlaceMovie(unsigned index) {
  if (!m_moviesLoaded) {
    m_moviesLoaded = true;
    LoadMovies();
  }
  if (index >= MovieCount) return;
  const MovieInfo& movie = Movies[index];
  FlashOsdForm->CentreMovie(movie.key, movie.width, movie.height);
}

void OsdPresenter::SetAlpha(BYTE alpha) {
  formkit::TThread::Synchronize([this, alpha] { ApplyAlpha(alpha); });
}

void OsdPresenter::ApplyAlpha(BYTE alpha) {
  ZR_ASSERT(m_maker != nullptr);
  m_maker->SetAlpha(alpha);
  m_maker->SetUseAlpha(true);
  m_maker->Apply(FlashOsdForm->Handle());
}

void OsdPresenter::ShowNotice(Movie movie, const char* label) {
  const std::string request = LabelRequest(label);
  FlashOsdForm->SelectMovie(movie);
  FlashOsdForm->SendRequest(request);
  FlashOsdForm->SendShow();
  FlashOsdForm->SetVisible(true);
}

void OsdPresenter::ShowProfileOn(const char* label) { ShowNotice(MovieProfileOn, label); }

void OsdPresenter::ShowProfileOff(const char* label) { ShowNotice(MovieProfileOff, label); }

void OsdPresenter::ShowQpsAuto(const char* label) { ShowNotice(MovieQpsAuto, label); }

void OsdPresenter::ShowWarning(const char* label, const char* content) {
  const std::string labelRequest = LabelRequest(label);
  const std::string contentRequest = ContentRequest(content);
  FlashOsdForm->SelectMovie(MovieWarning);
  FlashOsdForm->SendRequest(labelRequest);
  FlashOsdForm->SendRequest(contentRequest);
  FlashOsdForm->SendShow();
  FlashOsdForm->SetVisible(true);
}

void OsdPresenter::EndMovie() { FlashOsdForm->SendEnd(); }

void OsdPresenter::ShowQpsManual(int level) {
  FlashOsdForm->SelectMovie(MovieQpsManual);
  FlashOsdForm->SendShowLevel(level);
  FlashOsdForm->SetVisible(true);
}

void OsdPresenter::PlayLevel(int level) { FlashOsdForm->SendPlay(level); }

void OsdPresenter::EndLevel(int level) { FlashOsdForm->SendEndLevel(level); }

void OsdPresenter::PresetDigits(int value) {
  FlashOsdForm->SelectMovie(MovieDigits);
  FlashOsdForm->SendSet2Digit(value);
}

void OsdPresenter::ShowDigits(int value) {
  FlashOsdForm->SelectMovie(MovieDigits);
  FlashOsdForm->SendSet2Digit(value);
  FlashOsdForm->SendIn();
  FlashOsdForm->SetVisible(true);
}

void OsdPresenter::SetDigits(int value) { FlashOsdForm->SendSet2Digit(value); }

void OsdPresenter::LeaveDigits() { FlashOsdForm->SendOut(); }

void OsdPresenter::SetHideTimer(bool on) {
  if (on) {
    FlashOsdForm->Timer->SetInterval(TFlashOsdForm::HideTimeoutMs);
    FlashOsdForm->Timer->SetEnabled(true);
  } else {
    FlashOsdForm->Timer->SetEnabled(false);
  }
}

void OsdPresenter::HideAll() {
  formkit::TThread::Synchronize([this] { HideOnMainThread(); });
}

void OsdPresenter::HideOnMainThread() {
  FlashOsdForm->HideCurrent();
  FlashOsdForm->SetVisible(false);
}
