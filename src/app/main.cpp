// lumplayer: shows the menu of a content file.

#include "app/App.h"

wxIMPLEMENT_APP(CApp);
