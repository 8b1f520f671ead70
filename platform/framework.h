// The application-framework subset the game is written against: the
// application, frame window and dialogs, strings, files, archives and their
// exceptions.
#pragma once

#include "platform/carchive.h"
#include "platform/carchiveexception.h"
#include "platform/cdataexchange.h"
#include "platform/cdialog.h"
#include "platform/cexception.h"
#include "platform/cfile.h"
#include "platform/cfileexception.h"
#include "platform/cframewnd.h"
#include "platform/cpoint.h"
#include "platform/cstring.h"
#include "platform/cwinapp.h"
#include "platform/cwnd.h"
