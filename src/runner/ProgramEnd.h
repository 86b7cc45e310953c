// How a started program ended, in words: the line its window adds and the batch tool's note.
#pragma once

#include "platform/ProcessLauncher.h"

#include <string>

namespace zelkova::runner {

// "終了コード 2" for a non-zero exit status, "シグナル SIGSEGV" for an end by a signal,
// "起動できません（…）" for a program that could not be started; empty for a program that ended
// by itself with status 0, which needs no word.
std::string programEndText(const platform::LaunchResult& result);

} // namespace zelkova::runner
