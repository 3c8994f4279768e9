#include "json/json_errors.h"

namespace zw {

// "\xFC" is the u umlaut in Windows-1252.
TJsonTypeCastError::TJsonTypeCastError() : Error("Ung\xFCltige Typumwandlung") {}

TJsonConversionError::TJsonConversionError(const std::string& from_type, const std::string& to_type)
    : Error("Variante des Typs (" + from_type + ") konnte nicht in Typ (" + to_type +
            ") konvertiert werden") {}

TJsonFolderError::TJsonFolderError() : Error("Verzeichnis kann nicht erstellt werden") {}

TJsonStreamWriteError::TJsonStreamWriteError() : Error("Stream-Schreibfehler") {}

}  // namespace zw
