// Sentence texts are byte strings; on screen they read as UTF-8 when they are
// valid UTF-8 and as Latin-1 otherwise.
#pragma once

#include <QString>
#include <string_view>

QString DisplayText(std::string_view bytes);
