#include "data/tests/ShippedLanguages.h"

#include "plinth/tests/TestFolder.h"

namespace data::test {

std::string DistLangFiles() { return plinth::test::TestProgramFolder() + "..\\dist\\LangFiles"; }

}  // namespace data::test
