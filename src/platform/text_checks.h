// Small checks on typed text and on local files shared by the screens.
#pragma once

#include <string>
#include <string_view>

#include "platform/interaction.h"

namespace qx {

inline constexpr const char* kInvalidEmailText = "잘못된 이메일 형식 입니다.";

// True when the trimmed text is not empty and holds only 0-9, A-Z and a-z.
// A blank inside still fails; callers store the trimmed text, because the
// login trims what is typed and could never match blanks at either end.
bool IsAlphaNumeric(std::string_view text);

// True when the text is not empty and holds only 0-9.
bool IsAllDigits(std::string_view text);

// True when the text holds only 0-9 and "-" (an empty text passes): phone
// numbers and postcodes.
bool IsDigitsAndDash(std::string_view text);

// True when the text is well-formed UTF-8 of characters the database's text
// columns can hold (utf8mb3: at most three bytes a character, so no emoji or
// other character outside the basic plane). Checked at input, because the
// server refuses such a statement as a failure.
bool IsStorableText(std::string_view utf8);

// The message for a field whose text fails IsStorableText.
std::string UnstorableTextMessage(std::string_view field);

enum EmailCheck : int { kEmailValid = 0, kEmailInvalid = 1, kEmailDeclined = 2 };

// 0 valid, 1 invalid, 2 the user declined to go on with characters the mail
// service may drop (asked through `ui`).
int CheckEmailText(std::string_view text, Interaction& ui);

// Creates the folder (and missing parents) unless a directory of that name
// exists; true when the directory exists afterwards.
bool MakeFolderIfMissing(const std::string& path);

// Size of the file in bytes; -1 when there is no such file.
long long GetFileSize(const std::string& path);

}  // namespace qx
