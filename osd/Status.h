// The status picture: a borderless, top-most, never-activated form whose window
// becomes a per-pixel-alpha layered window showing "turbo_mode.png". It is
// prepared once at start-up and stays hidden.
#pragma once

#include "plinth/widget/Source/LayeredWindow.h"

#include "formkit/Form.h"
#include "formkit/Image.h"

class TStatusForm : public formkit::TForm {
 public:
  explicit TStatusForm(formkit::TComponent* owner);

  // Holds the picture's bitmap; owned by the form.
  formkit::TImage* const Background;

 protected:
  void CreateParams(formkit::TCreateParams& params) override;
};

// The status form, made at start-up.
extern TStatusForm* StatusForm;

class StatusPicture {
 public:
  static StatusPicture* Instance();

  // Decodes the picture into the status form's image and makes it the content of
  // the form's window, which takes the picture's size. Throws formkit::EFOpenError
  // when the picture file cannot be opened.
  void Load();

 private:
  StatusPicture() = default;

  plinth::TPerPixelLayeredWindowMaker m_maker;
};
