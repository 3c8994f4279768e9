#include "zwconvert_options.h"

#include <string_view>

#include "zw_version.h"

namespace zw {

const char* const kZwconvertUsage =
    "Aufruf: zwconvert [OPTIONEN] [DATEI]\n"
    "Wandelt einen kopierten Text mit den Vorlagen in Auftragspositionen um, genau wie\n"
    "Zwischenablage es tut.\n"
    "\n"
    "  DATEI             der Text der Zwischenablage als Windows-1252-Bytes; ohne DATEI oder\n"
    "                    mit \"-\" die Standardeingabe. Der Text endet beim ersten Null-Byte.\n"
    "  --templates DIR   der Vorlagenordner (Vorgabe: \"Vorlagen\" neben dem Programm);\n"
    "                    die mitgelieferten Dateien werden hineingeschrieben\n"
    "  --tax TEXT        der vorgegebene Steuersatz, wie ihn Brevanta auf TAXH nennt\n"
    "                    (Vorgabe: leer, mit --exchange die Antwort auf TAXH)\n"
    "  --decimal Z       Dezimaltrennzeichen (Vorgabe \",\")\n"
    "  --thousand Z      Tausendertrennzeichen (Vorgabe \".\")\n"
    "  --list Z          Listentrennzeichen f\xFCr CSV (Vorgabe \";\")\n"
    "  --format F        lines (Vorgabe): jede Position mit ihren 24 Eigenschaften;\n"
    "                    text, html, csv, datagrid: genau die Bytes, die in die\n"
    "                    Zwischenablage kommen (text ohne sein Null-Byte, datagrid mit\n"
    "                    seinem 4-Byte-L\xE4ngenfeld); json: der Auftrag, wie er an\n"
    "                    Brevanta geschickt wird\n"
    "  --exchange        wie ein Lauf des Programms mit Brevantas ExchangeServer sprechen:\n"
    "                    TAXH fragen (ohne --tax), bei DirectToBrevanta=1 CANPOSTJSON\n"
    "                    fragen und bei \"1\" den Auftrag mit OUTDATA schicken\n"
    "  --server NAME     dieser Server statt des ersten aus der Serverliste\n"
    "  --explain         auf der Standardfehlerausgabe: jede versuchte Vorlage, warum sie\n"
    "                    nicht passte oder gewann, und was aus jeder Zeile wurde;\n"
    "                    mit --suggest die gefundene \xDC"
    "berschrift und warum jede Spalte\n"
    "                    so gelesen wurde\n"
    "  --suggest         schl\xE4gt f\xFCr den Text eine Vorlage vor und schreibt sie auf die\n"
    "                    Standardausgabe (Windows-1252, CR LF), bereit zum Speichern im\n"
    "                    Vorlagenordner\n"
    "  --version         die Version von zwconvert\n"
    "  --help            diese Hilfe\n"
    "\n"
    "Ergebnis: 0, wenn eine Vorlage Positionen ergab (mit --suggest: ein Vorschlag); 1, wenn\n"
    "keine passte (mit --suggest: keine lesbare Tabelle; keine Ausgabe);\n"
    "2 bei falschem Aufruf oder unlesbarer Eingabe oder Vorlage.\n";

const char* const kZwconvertVersion = "zwconvert " ZW_VERSION_TEXT "\n";

namespace {

char SingleCharacter(const std::string& option, const std::string& value) {
  if (value.size() != 1)
    throw UsageError(option + " erwartet genau ein Zeichen: \"" + value + "\"");
  return value.front();
}

OutputFormat FormatNamed(const std::string& name) {
  if (name == "lines") return OutputFormat::Lines;
  if (name == "text") return OutputFormat::Text;
  if (name == "html") return OutputFormat::Html;
  if (name == "csv") return OutputFormat::Csv;
  if (name == "datagrid") return OutputFormat::DataGrid;
  if (name == "json") return OutputFormat::Json;
  throw UsageError("unbekanntes Format \"" + name +
                   "\" (m\xF6glich: lines, text, html, csv, datagrid, json)");
}

}  // namespace

ZwconvertOptions ParseZwconvertOptions(const std::vector<std::string>& args) {
  ZwconvertOptions options;
  bool have_input = false;
  bool format_given = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string arg = args[i];
    std::string value;
    bool has_inline_value = false;
    if (arg.rfind("--", 0) == 0) {
      const std::size_t equals = arg.find('=');
      if (equals != std::string::npos) {
        value = arg.substr(equals + 1);
        arg.resize(equals);
        has_inline_value = true;
      }
    }
    const auto take_value = [&]() -> std::string {
      if (has_inline_value) return value;
      if (i + 1 >= args.size()) throw UsageError(arg + " erwartet einen Wert");
      return args[++i];
    };
    const auto no_value = [&] {
      if (has_inline_value) throw UsageError(arg + " erwartet keinen Wert");
    };

    if (arg == "--templates") {
      options.TemplatesDir = take_value();
      if (options.TemplatesDir.empty()) throw UsageError("--templates erwartet einen Ordner");
    } else if (arg == "--tax") {
      options.Tax = take_value();
      options.TaxGiven = true;
    } else if (arg == "--exchange") {
      no_value();
      options.Exchange = true;
    } else if (arg == "--server") {
      options.ServerName = take_value();
      if (options.ServerName.empty()) throw UsageError("--server erwartet einen Namen");
    } else if (arg == "--decimal") {
      options.DecimalSeparator = SingleCharacter(arg, take_value());
    } else if (arg == "--thousand") {
      options.ThousandSeparator = SingleCharacter(arg, take_value());
    } else if (arg == "--list") {
      options.ListSeparator = SingleCharacter(arg, take_value());
    } else if (arg == "--format") {
      options.Format = FormatNamed(take_value());
      format_given = true;
    } else if (arg == "--suggest") {
      no_value();
      options.Suggest = true;
    } else if (arg == "--explain") {
      no_value();
      options.Explain = true;
    } else if (arg == "--version") {
      no_value();
      options.Version = true;
    } else if (arg == "--help" || arg == "-h") {
      no_value();
      options.Help = true;
    } else if (arg.size() > 1 && arg.front() == '-') {
      throw UsageError("unbekannte Option " + arg);
    } else {
      if (have_input) throw UsageError("mehr als eine Eingabedatei: " + arg);
      options.InputPath = arg;
      have_input = true;
    }
  }
  if (options.Suggest && (format_given || options.Exchange || options.TaxGiven ||
                          !options.TemplatesDir.empty() || !options.ServerName.empty())) {
    throw UsageError("--suggest nimmt nur --explain, --decimal, --thousand, --list und eine DATEI");
  }
  return options;
}

}  // namespace zw
