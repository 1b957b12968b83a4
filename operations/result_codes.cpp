#include "operations/result_codes.h"

#include "settings/language.h"

struct ResultMessage {
    const wchar_t* english;
    const wchar_t* polish;
};

static const ResultMessage kMessages[] = {
    {nullptr, nullptr},
    {L"This Windows version lacks a compatible archive engine. Use an up-to-date Windows 11.",
     L"Ten Windows nie udostępnia zgodnego silnika archiwów. Użyj aktualnego Windows 11."},
    {L"Could not process the archive. The file may be damaged or use an unsupported format.",
     L"Nie udało się przetworzyć archiwum. Plik może być uszkodzony lub mieć nieobsługiwany format."},
    {L"Could not read the source or write the result to the selected location.",
     L"Nie można odczytać źródła lub zapisać wyniku w wybranym miejscu."},
    {L"There is not enough memory to complete the operation.", L"Za mało pamięci do wykonania operacji."},
    {L"The archive requires the correct password.", L"Archiwum wymaga poprawnego hasła."},
    {L"The archive engine does not support this archive\u2019s encryption.",
     L"Silnik nie obsługuje szyfrowania tego archiwum."},
    {L"The archive contains an invalid path or a link.", L"Archiwum zawiera niedozwoloną nazwę lub dowiązanie."},
    {L"The file or folder already exists. Choose a new name.", L"Plik lub folder już istnieje. Wybierz nową nazwę."},
    {nullptr, nullptr},
    {L"Two inputs have the same name. Remove one of them.", L"Dwa źródła mają tę samą nazwę. Usuń jedno z nich."},
    {L"A source contains a link or a cloud-only file.",
     L"Źródło zawiera dowiązanie lub plik dostępny wyłącznie w chmurze."},
    {L"No files match the profile rules.", L"Żaden plik nie pasuje do reguł profilu."},
    {L"Files changed since the preview. Refresh the file list.",
     L"Pliki zmieniły się od podglądu. Pokaż listę ponownie."},
};

const wchar_t* result_message(int32_t code) {
    int32_t count = (int32_t)(sizeof(kMessages) / sizeof(kMessages[0]));
    if (code < 0 || code >= count || kMessages[code].english == nullptr) code = RESULT_ARCHIVE_ERROR;
    return ui_text(kMessages[code].english, kMessages[code].polish);
}
