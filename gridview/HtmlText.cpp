#include "gridview/HtmlText.h"

void ReadHtmlText(std::u16string_view Text, const std::function<void(std::u16string_view)>& OnText,
                  const std::function<void(const THtmlTag&)>& OnTag) {
  std::size_t RunStart = 0;
  THtmlTag Tag;
  enum { Outside, InName, InAttribute, InValue } State = Outside;
  for (std::size_t I = 0; I < Text.size(); ++I) {
    const char16_t Ch = Text[I];
    if (State == Outside) {
      if (Ch == u'<') {
        if (I > RunStart) OnText(Text.substr(RunStart, I - RunStart));
        Tag = THtmlTag();
        State = InName;
      }
      continue;
    }
    switch (Ch) {
      case u'/': Tag.Closing = true; break;
      case u' ':
        Tag.Attributes.emplace_back();
        State = InAttribute;
        break;
      case u'=':
        if (State == InAttribute) State = InValue;
        break;
      case u'>':
        OnTag(Tag);
        State = Outside;
        RunStart = I + 1;
        break;
      case u'"': break;  // quotes around a value are dropped
      default:
        if (State == InName)
          Tag.Name += Ch;
        else if (State == InAttribute)
          Tag.Attributes.back().first += Ch;
        else
          Tag.Attributes.back().second += Ch;
        break;
    }
  }
  if (State == Outside && Text.size() > RunStart) OnText(Text.substr(RunStart));
}
