#pragma once
// The main window of the program.
#include "toolkit/Forms.h"

class TForm1 : public TForm {
 public:
  TForm1();

 protected:
  void CreateParams(TCreateParams& Params) override;
};
