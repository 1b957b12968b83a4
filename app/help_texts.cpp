#include "app/help_texts.h"

#include <stdio.h>

#include "common/text.h"
#include "settings/language.h"

void build_help_text(wchar_t* text) {
    const wchar_t* english =
        L"Open and extract\r\n"
        L"Drop an archive into the window or choose Open archive. Select the files to extract or choose Extract to "
        L"unpack the entire archive to a separate folder.\r\n"
        L"\r\n"
        L"Create an archive\r\n"
        L"Add files or folders on the New archive tab. Choose ZIP, 7z or TAR.GZ and a compression level. ZIP "
        L"supports a password.\r\n"
        L"\r\n"
        L"ZIP profiles and the extraction queue\r\n"
        L"Save packing rules in ZIP profiles and review the file list before creating the archive. Drop several "
        L"archives to queue them for extraction. When an archive needs a password, use Open preview and extract it "
        L"separately.\r\n"
        L"\r\n"
        L"Settings\r\n"
        L"Choose your language, startup view and default extraction folder. Select Save settings to apply the "
        L"changes.";
    const wchar_t* polish =
        L"Otwieranie i rozpakowywanie\r\n"
        L"Przeciągnij archiwum do okna lub użyj przycisku Otwórz archiwum. Zaznacz pliki do wypakowania albo wybierz "
        L"Rozpakuj, aby wypakować całość do osobnego folderu.\r\n"
        L"\r\n"
        L"Tworzenie archiwum\r\n"
        L"Na karcie Nowe archiwum dodaj pliki lub foldery. Wybierz ZIP, 7z lub TAR.GZ i poziom kompresji. Dla ZIP "
        L"możesz ustawić hasło.\r\n"
        L"\r\n"
        L"Profile ZIP i kolejka\r\n"
        L"Zapisz reguły pakowania w Profilach ZIP i sprawdź podgląd przed utworzeniem paczki. Przeciągnij kilka "
        L"archiwów, aby dodać je do kolejki. Dla pliku wymagającego hasła wybierz Otwórz podgląd i rozpakuj go "
        L"osobno.\r\n"
        L"\r\n"
        L"Ustawienia\r\n"
        L"Wybierz język, kartę startową oraz domyślny folder rozpakowywania. Zatwierdź przyciskiem Zapisz "
        L"ustawienia.";
    text_copy(text, INFO_TEXT_CAPACITY, ui_text(english, polish));
}

void build_about_text(wchar_t* text) {
    const wchar_t* english =
        L"Lumarek %ls (x64)\r\n"
        L"Dravik\r\n"
        L"\r\n"
        L"Archive manager for Windows 11. Creating and extracting archives and using ZIP profiles work offline.";
    const wchar_t* polish =
        L"Lumarek %ls (x64)\r\n"
        L"Dravik\r\n"
        L"\r\n"
        L"Program do otwierania i tworzenia archiwów na Windows 11. Pakowanie, rozpakowywanie i profile ZIP działają "
        L"offline.";
    swprintf_s(text, INFO_TEXT_CAPACITY, ui_text(english, polish), APP_VERSION);
}

void build_contact_text(wchar_t* text) {
    text_copy(text, INFO_TEXT_CAPACITY,
              ui_text(L"When reporting an issue, include the action you took and the message shown. The button below "
                      L"copies the app version and interface language.",
                      L"Opisując problem, podaj wykonywaną czynność i komunikat programu. Przycisk poniżej kopiuje "
                      L"wersję aplikacji i język interfejsu."));
    text_append(text, INFO_TEXT_CAPACITY,
                ui_text(L"\r\n\r\nThis build has no support address configured.",
                        L"\r\n\r\nW tym wydaniu nie skonfigurowano adresu wsparcia."));
}
