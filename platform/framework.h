// The application-framework subset the game is written against: strings,
// files, archives and their exceptions.
#pragma once

#include "platform/carchive.h"
#include "platform/carchiveexception.h"
#include "platform/cexception.h"
#include "platform/cfile.h"
#include "platform/cfileexception.h"
#include "platform/cstring.h"
