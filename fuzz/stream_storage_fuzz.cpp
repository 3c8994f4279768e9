// The message storage over arbitrary bytes from the other end of the pipe: every read ends
// without a crash and stays inside the stream; values written here read back unchanged.
#include <fuzzer/FuzzedDataProvider.h>

#include <map>
#include <string>
#include <vector>

#include "base/errors.h"
#include "exchange/stream_storage.h"
#include "fuzz_check.h"

namespace {

void CheckInside(const zw::TStreamStorage& storage) {
  FUZZ_CHECK(storage.Position() >= 0 && storage.Position() <= storage.Size());
  FUZZ_CHECK(storage.ScanPosition() >= 0 && storage.ScanPosition() <= storage.Size());
}

void ReadForeignBytes(FuzzedDataProvider& input) {
  std::vector<std::string> names = {"DATA", "ERROR", "SERVERPROCESS"};
  for (int i = input.ConsumeIntegralInRange(0, 3); i > 0; --i) {
    names.push_back(input.ConsumeRandomLengthString(12));
  }
  const std::string bytes = input.ConsumeRandomLengthString(4096);
  zw::TStreamStorage storage;
  storage.Append(bytes.data(), bytes.size());
  FUZZ_CHECK(storage.Size() == static_cast<std::int64_t>(bytes.size()));
  storage.SetPosition(0);
  for (const std::string& name : names) {
    switch (input.ConsumeIntegralInRange(0, 3)) {
      case 0: {
        const std::string text = storage.ReadString(name);
        FUZZ_CHECK(text.size() <= bytes.size());
        break;
      }
      case 1:
        storage.ReadInteger(name);
        break;
      case 2:
        storage.ReadBoolean(name);
        break;
      default: {
        std::int64_t size = -1;
        if (storage.LocateValue(name, size)) {
          FUZZ_CHECK(size >= 0 && storage.Position() + size <= storage.Size());
        }
      }
    }
    CheckInside(storage);
  }
}

void WriteAndReadBack(FuzzedDataProvider& input) {
  zw::TStreamStorage storage;
  std::map<std::string, std::string> texts;
  std::map<std::string, std::int32_t> integers;
  std::map<std::string, bool> booleans;
  for (int i = input.ConsumeIntegralInRange(0, 6); i > 0; --i) {
    const std::string name = input.ConsumeRandomLengthString(10);
    const bool known = texts.count(name) || integers.count(name) || booleans.count(name);
    bool refused = false;
    bool writes = !name.empty();  // an empty name, or an empty text, writes nothing
    try {
      switch (input.ConsumeIntegralInRange(0, 2)) {
        case 0: {
          const std::string text = input.ConsumeRandomLengthString(64);
          writes = writes && !text.empty();
          storage.WriteString(name, text);
          if (writes) texts[name] = text;
          break;
        }
        case 1: {
          const auto value = input.ConsumeIntegral<std::int32_t>();
          storage.WriteInteger(name, value);
          if (!name.empty()) integers[name] = value;
          break;
        }
        default: {
          const bool value = input.ConsumeBool();
          storage.WriteBoolean(name, value);
          if (!name.empty()) booleans[name] = value;
        }
      }
    } catch (const zw::Error&) {
      refused = true;
    }
    FUZZ_CHECK(refused == (known && writes));
  }
  for (const auto& [name, text] : texts) FUZZ_CHECK(storage.ReadString(name) == text);
  for (const auto& [name, value] : integers) FUZZ_CHECK(storage.ReadInteger(name) == value);
  for (const auto& [name, value] : booleans) FUZZ_CHECK(storage.ReadBoolean(name) == value);
  CheckInside(storage);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  if (input.ConsumeBool()) {
    ReadForeignBytes(input);
  } else {
    WriteAndReadBack(input);
  }
  return 0;
}
