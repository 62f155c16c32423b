// Sentence texts are byte strings. On screen they show as UTF-8 when they are
// valid UTF-8 and as Latin-1 otherwise; typed text is stored as UTF-8.
#pragma once

#include <QString>
#include <string>
#include <string_view>

QString FromBytes(std::string_view bytes);
std::string ToBytes(const QString& text);
