#pragma once

#include <string>

#include "console/console.h"
#include "coupling/coupling_data.h"

// What the browser page says under its terminal when the number prompts
// read a typed line otherwise than it looks: which fields took what, what
// was no number and so left a field as it was, a point that may be meant as
// a thousands point ("1.480" is read as 1.48), and what is left for the next
// prompt, perhaps in the next dialog. Values are written with a decimal
// comma, as the German words around them. Empty when the line was read as
// typed: one number, the whole line.
std::string lineNotice(const LineReading& reading, const CouplingData& data);
