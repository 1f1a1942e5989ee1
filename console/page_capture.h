#pragma once

#include <functional>
#include <string>
#include <vector>

#include "console/console.h"

// The pages `command` prints when it is run on a console of its own, every
// key it reads being the space bar, so that a command shows all its pages:
// each without the pager's prompt (the unended last line of a page) and
// without the line end the pager prints after the key.
std::vector<std::string> pagesOf(const std::function<void(Console&)>& command);
