# The program's version information, in one place: the generated src/game/appversion.h
# (caption, About box, terminal program's --version) and, on Windows, the version resources
# of both executables and the installer are all made from these.
set(TFP_PRODUCT_NAME "Torva Fogline Turnpicker")
set(TFP_COMPANY_NAME "Torva")
set(TFP_COPYRIGHT "2026 Torva")
set(TFP_LEGAL_NOTICE "Copyright © ${TFP_COPYRIGHT}. All rights reserved.")
# The terms the About box states under the notice; the packages' copyright files
# (resources/linux/copyright.in, resources/windows/license.txt.in) repeat them.
set(TFP_DISTRIBUTION_TERMS "${TFP_PRODUCT_NAME} is freeware and may be freely distributed, while ${TFP_COMPANY_NAME} keeps full rights to the program and its documentation.")
set(TFP_WEB_SITE "https://www.torva.example/turnpicker/")
set(TFP_DONATION_PAGE "https://www.torva.example/turnpicker/donate/")
set(TFP_SUPPORT_EMAIL "turnpicker@torva.example")
# The notice shown under the main window; every '*' becomes a line break.
set(TFP_COMMENTS "Visit us on the web at ${TFP_WEB_SITE}*This program is freeware. If you enjoy it, please consider*a small donation to help fund further development.")
