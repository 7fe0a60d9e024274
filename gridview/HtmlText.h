#pragma once
// The HTML subset of HTML columns, read as text: runs of plain text and tags, in order. Inside a tag
// only "/" (a closing tag), " " (an attribute follows), "=" (its value follows), ">" (the end) and
// quotes (dropped) mean anything; a tag still open at the end of the text is dropped. What each tag
// does (<b>, <i>, <u>, <a>, <br>, <font color= name= size=>) is the painter's.
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

struct THtmlTag {
  std::u16string Name;
  bool Closing = false;
  std::vector<std::pair<std::u16string, std::u16string>> Attributes;  // name, value
};

// Hands each non-empty run of text to OnText and each complete tag to OnTag, in the order of Text.
void ReadHtmlText(std::u16string_view Text, const std::function<void(std::u16string_view)>& OnText,
                  const std::function<void(const THtmlTag&)>& OnTag);
