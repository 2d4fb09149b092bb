// How many festivals and commemoration days the calendar knows, for the help text.
#pragma once

namespace deskleaf {

// Distinct names over the engine's lunar festivals (with New Year's Eve, which the engine
// finds from the length of the year), weekday festivals and fixed-date festivals, and the
// fixed-date texts of the shipped default kel.ini. A text holding several names separated by
// blanks ("中元节 盂兰盆节") counts each name; a name found in two tables counts once.
// Throws ProfileError when the default kel.ini is missing from the program.
int festivalCount();

} // namespace deskleaf
