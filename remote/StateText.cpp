#include "remote/StateText.h"

#include "plinth/System/Source/KvMultiLang.h"

std::string StateText(const char* key) { return plinth::KvMultiLang::Instance()->GetText(key); }
