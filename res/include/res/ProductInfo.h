// Texts that name the product's places on the web and its authors; shared by the resources and
// the code, so each is written once.
#pragma once

#define REVTALLY_WEB_PAGE "https://github.com/revtally/revtally"
#define REVTALLY_HTMLHELP_DOWNLOAD "https://www.microsoft.com/download/details.aspx?id=21138"
#define REVTALLY_CREDIT "Copyright (C) 2026 Revtally developers"
