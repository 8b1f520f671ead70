// The application-framework subset the game is written against: the
// application, frame window and dialogs, strings, files, archives and their
// exceptions.
#pragma once

#include "platform/framework/carchive.h"
#include "platform/framework/carchiveexception.h"
#include "platform/framework/cdataexchange.h"
#include "platform/framework/cdialog.h"
#include "platform/framework/cexception.h"
#include "platform/framework/cfile.h"
#include "platform/framework/cfileexception.h"
#include "platform/framework/cframewnd.h"
#include "platform/framework/cpoint.h"
#include "platform/framework/creplacefile.h"
#include "platform/framework/cstring.h"
#include "platform/framework/cwinapp.h"
#include "platform/framework/cwnd.h"
