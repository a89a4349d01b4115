#include "tools/cartdesk_db/db_json.h"

#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "files/regular_file.h"
#include "frontend/model/gb_text.h"
#include "frontend/model/header_repair.h"
#include "frontend/model/rom_signature.h"

namespace wrenfold::cartdesk_db {
namespace {

// Where in the source a value sits, for messages: "records[3].aliases[1]".
std::string Place(const std::string& parent, const std::string& key) {
  return parent.empty() ? key : parent + "." + key;
}
std::string Place(const std::string& parent, size_t index) {
  return parent + "[" + std::to_string(index) + "]";
}

[[noreturn]] void Fail(const std::string& place, const std::string& what) {
  throw SourceError(place + ": " + what);
}

std::string ToHex(const uint8_t* bytes, size_t count) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string hex;
  for (size_t i = 0; i < count; ++i) {
    hex.push_back(kDigits[bytes[i] >> 4]);
    hex.push_back(kDigits[bytes[i] & 0x0F]);
  }
  return hex;
}

// Hex digits with optional blanks between them.
std::vector<uint8_t> FromHex(const Json& value, const std::string& place) {
  if (!value.is_string()) Fail(place, "expected a string of hex digits");
  std::vector<uint8_t> bytes;
  int pending = -1;
  for (char c : value.get<std::string>()) {
    if (c == ' ') continue;
    int digit = -1;
    if (c >= '0' && c <= '9') digit = c - '0';
    if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    if (digit < 0) Fail(place, std::string("not a hex digit: '") + c + "'");
    if (pending < 0) {
      pending = digit;
    } else {
      bytes.push_back(static_cast<uint8_t>(pending * 16 + digit));
      pending = -1;
    }
  }
  if (pending >= 0) Fail(place, "odd number of hex digits");
  return bytes;
}

template <size_t N>
std::array<uint8_t, N> FixedHex(const Json& value, const std::string& place) {
  const std::vector<uint8_t> bytes = FromHex(value, place);
  if (bytes.size() != N)
    Fail(place, "expected " + std::to_string(N) + " bytes, got " + std::to_string(bytes.size()));
  std::array<uint8_t, N> fixed{};
  std::copy(bytes.begin(), bytes.end(), fixed.begin());
  return fixed;
}

long Integer(const Json& value, const std::string& place, long low, long high) {
  if (!value.is_number_integer()) Fail(place, "expected a whole number");
  const long number = value.get<long>();
  if (number < low || number > high)
    Fail(place, std::to_string(number) + " is outside " + std::to_string(low) + " to " +
                    std::to_string(high));
  return number;
}

DbText TextFromJson(const Json& value, const std::string& place) {
  DbText text;
  if (value.is_string()) {
    const std::string utf8 = value.get<std::string>();
    text = DbText::FromUtf8(utf8);
    if (text.utf8 != utf8) Fail(place, "\"" + utf8 + "\" holds characters the GB code page lacks");
  } else if (value.is_object() && value.size() == 1 && value.contains("gb")) {
    const std::vector<uint8_t> bytes = FromHex(value["gb"], Place(place, "gb"));
    text = DbText::FromGb(std::string(bytes.begin(), bytes.end()));
  } else {
    Fail(place, "expected a string or {\"gb\": \"hex\"}");
  }
  if (text.gb.size() > 255) Fail(place, "longer than 255 bytes in GB");
  return text;
}

Json TextToJson(const DbText& text) {
  if (GbRoundTrips(text.gb)) return text.utf8;
  return Json{{"gb", ToHex(reinterpret_cast<const uint8_t*>(text.gb.data()), text.gb.size())}};
}

void RejectUnknownKeys(const Json& object, const std::set<std::string>& known,
                       const std::string& place) {
  for (const auto& [key, value] : object.items())
    if (!known.contains(key)) Fail(Place(place, key), "unknown key");
}

// JSON keys of the blocks that carry one value, by tag.
struct BlockKey {
  EncyclopediaTag tag;
  const char* key;
};
constexpr BlockKey kByteBlocks[] = {{kTagConsoleType, "consoleType"},
                                    {kTagGameLanguage, "gameLanguage"},
                                    {kTagMarks, "marks"},
                                    {kTagGameType, "gameType"},
                                    {kTagRomVersion, "romVersion"}};
constexpr BlockKey kPresenceBlocks[] = {
    {kTagPresence6, "tag6"}, {kTagPresence9, "tag9"}, {kTagPresence10, "tag10"}};

template <typename Entry>
auto& ByteField(Entry& entry, EncyclopediaTag tag) {
  switch (tag) {
    case kTagConsoleType:
      return entry.consoleType;
    case kTagGameLanguage:
      return entry.gameLanguage;
    case kTagMarks:
      return entry.marks;
    case kTagGameType:
      return entry.gameTypeCode;
    default:
      return entry.romVersionCode;
  }
}

// The writer's own checks (tag order, counts, lengths) for one entry, with its place.
void CheckWritable(const EncyclopediaEntry& entry, const std::string& place) {
  EncyclopediaDb single;
  single.entries.push_back(entry);
  std::vector<uint8_t> bytes;
  const DataFileError error = SerializeEncyclopediaDb(single, bytes);
  if (error != DataFileError::kNone) Fail(place, std::string(DataFileErrorText(error).english));
}

EncyclopediaEntry EntryFromJson(const Json& object, const std::string& place, bool linksAllowed) {
  if (!object.is_object()) Fail(place, "expected an object");
  std::set<std::string> known = {"secrets",     "producer",    "introduction",
                                 "regionFlags", "sectionHead", "tagOrder"};
  if (linksAllowed) known.insert("links");
  for (const BlockKey& block : kByteBlocks) known.insert(block.key);
  for (const BlockKey& block : kPresenceBlocks) known.insert(block.key);
  RejectUnknownKeys(object, known, place);

  EncyclopediaEntry entry;
  if (object.contains("links")) {
    const Json& links = object["links"];
    if (!links.is_array()) Fail(Place(place, "links"), "expected an array of record numbers");
    for (size_t i = 0; i < links.size(); ++i)
      entry.links.push_back(
          static_cast<uint16_t>(Integer(links[i], Place(Place(place, "links"), i), 0, 0x7FFF)));
    entry.present[kTagLink] = !entry.links.empty();
  }
  for (const BlockKey& block : kByteBlocks) {
    if (!object.contains(block.key)) continue;
    ByteField(entry, block.tag) =
        static_cast<uint8_t>(Integer(object[block.key], Place(place, block.key), 0, 255));
    entry.present[block.tag] = true;
  }
  for (const BlockKey& block : kPresenceBlocks) {
    if (!object.contains(block.key)) continue;
    if (!object[block.key].is_boolean()) Fail(Place(place, block.key), "expected true or false");
    entry.present[block.tag] = object[block.key].get<bool>();
  }
  if (object.contains("secrets")) {
    const Json& secrets = object["secrets"];
    const std::string secretsPlace = Place(place, "secrets");
    if (!secrets.is_array() || secrets.size() > kMaxSecrets)
      Fail(secretsPlace, "expected an array of at most 32 texts");
    for (size_t i = 0; i < secrets.size(); ++i)
      entry.secrets.push_back(TextFromJson(secrets[i], Place(secretsPlace, i)));
    entry.present[kTagSecrets] = true;
  }
  if (object.contains("producer")) {
    entry.producer = TextFromJson(object["producer"], Place(place, "producer"));
    entry.present[kTagProducer] = true;
  }
  if (object.contains("introduction")) {
    entry.introduction = TextFromJson(object["introduction"], Place(place, "introduction"));
    entry.present[kTagIntroduction] = true;
  }
  if (object.contains("regionFlags")) {
    entry.regionFlags = static_cast<uint16_t>(
        Integer(object["regionFlags"], Place(place, "regionFlags"), 0, 0xFFFF));
    entry.present[kTagRegionFlags] = true;
  }
  if (object.contains("sectionHead")) {
    const Json& head = object["sectionHead"];
    if (!head.is_array() || head.size() != 2)
      Fail(Place(place, "sectionHead"), "expected two bytes");
    for (size_t i = 0; i < 2; ++i)
      entry.sectionHead[i] =
          static_cast<uint8_t>(Integer(head[i], Place(Place(place, "sectionHead"), i), 0, 255));
  }
  if (object.contains("tagOrder")) {
    const Json& order = object["tagOrder"];
    if (!order.is_array()) Fail(Place(place, "tagOrder"), "expected an array of tags");
    for (size_t i = 0; i < order.size(); ++i)
      entry.tagOrder.push_back(
          static_cast<uint8_t>(Integer(order[i], Place(Place(place, "tagOrder"), i), 1, 13)));
    if (entry.tagOrder == CanonicalTagOrder(entry)) entry.tagOrder.clear();
  }
  CheckWritable(entry, place);
  return entry;
}

Json EntryToJson(const EncyclopediaEntry& entry) {
  Json object = Json::object();
  if (!entry.links.empty()) object["links"] = entry.links;
  auto byteBlock = [&](EncyclopediaTag tag) {
    for (const BlockKey& block : kByteBlocks)
      if (block.tag == tag) object[block.key] = ByteField(entry, tag);
  };
  for (uint8_t tag = kTagConsoleType; tag < kEncyclopediaTagLimit; ++tag) {
    if (!entry.present[tag]) continue;
    switch (tag) {
      case kTagSecrets: {
        Json secrets = Json::array();
        for (const DbText& secret : entry.secrets) secrets.push_back(TextToJson(secret));
        object["secrets"] = secrets;
        break;
      }
      case kTagPresence6:
        object["tag6"] = true;
        break;
      case kTagPresence9:
        object["tag9"] = true;
        break;
      case kTagPresence10:
        object["tag10"] = true;
        break;
      case kTagProducer:
        object["producer"] = TextToJson(entry.producer);
        break;
      case kTagIntroduction:
        object["introduction"] = TextToJson(entry.introduction);
        break;
      case kTagRegionFlags:
        object["regionFlags"] = entry.regionFlags;
        break;
      default:
        byteBlock(static_cast<EncyclopediaTag>(tag));
        break;
    }
  }
  if (entry.sectionHead != std::array<uint8_t, 2>{0x03, 0x04})
    object["sectionHead"] = entry.sectionHead;
  if (!entry.tagOrder.empty()) object["tagOrder"] = entry.tagOrder;
  return object;
}

void ReadVersion(const Json& source, RecognitionDb& db) {
  if (!source.contains("version")) return;
  const Json& version = source["version"];
  if (!version.is_object()) Fail("version", "expected an object");
  RejectUnknownKeys(version, {"major", "minor", "revision", "unofficial", "reservedBits"},
                    "version");
  auto field = [&](const char* key, long high) {
    return version.contains(key) ? Integer(version[key], Place("version", key), 0, high) : 0;
  };
  bool unofficial = false;
  if (version.contains("unofficial")) {
    if (!version["unofficial"].is_boolean()) Fail("version.unofficial", "expected true or false");
    unofficial = version["unofficial"].get<bool>();
  }
  db.versionByteA = static_cast<uint8_t>(field("major", 15) | (field("reservedBits", 7) << 4) |
                                         (unofficial ? 0x80 : 0));
  db.versionByteB = static_cast<uint8_t>((field("minor", 15) << 4) | field("revision", 15));
}

// The header bytes at the start of a ROM file.
InesHeaderBytes RomFileHeader(const std::filesystem::path& path, const std::string& place) {
  InesHeaderBytes header{};
  RegularFileStatus status;
  int error;
  const UniqueFile file(OpenRegularFileStream(path, status, error));
  const bool read =
      file && std::fread(header.data(), 1, header.size(), file.get()) == header.size();
  if (!read) Fail(place, "cannot read the header of " + path.string());
  return header;
}

RecognitionRecord RecordFromJson(const Json& object, size_t index, const std::string& place,
                                 const std::filesystem::path& sourceFolder) {
  if (!object.is_object()) Fail(place, "expected an object");
  RejectUnknownKeys(object,
                    {"number", "rom", "fingerprint", "header", "chineseName", "englishName",
                     "aliases", "encyclopedia"},
                    place);
  RecognitionRecord record;
  record.number = static_cast<uint16_t>(
      object.contains("number") ? Integer(object["number"], Place(place, "number"), 0, 0x7FFF)
                                : index + 1);

  if (object.contains("rom") == object.contains("fingerprint"))
    Fail(place, "give either \"rom\" or \"fingerprint\"");
  if (object.contains("rom")) {
    if (!object["rom"].is_string()) Fail(Place(place, "rom"), "expected a path");
    const std::filesystem::path rom = sourceFolder / object["rom"].get<std::string>();
    const RomSignatureResult signature = ComputeRomSignature(rom, InProcessCalcCrc);
    if (signature.error != DataFileError::kNone)
      Fail(Place(place, "rom"),
           rom.string() + ": " + std::string(DataFileErrorText(signature.error).english));
    record.fingerprint = signature.signature;
    record.header = object.contains("header")
                        ? FixedHex<16>(object["header"], Place(place, "header"))
                        : RomFileHeader(rom, Place(place, "rom"));
  } else {
    record.fingerprint =
        FixedHex<kRomSignatureSize>(object["fingerprint"], Place(place, "fingerprint"));
    if (!object.contains("header"))
      Fail(place, "a record given by fingerprint needs its \"header\"");
    record.header = FixedHex<16>(object["header"], Place(place, "header"));
  }
  // The front-end writes this header into the user's image on a repair: without the magic it
  // would make the image unloadable.
  if (!HasInesMagic(record.header))
    Fail(Place(place, object.contains("header") ? "header" : "rom"),
         "the header does not begin with \"NES\" and 1A");

  if (!object.contains("chineseName") || !object.contains("englishName"))
    Fail(place, "needs chineseName and englishName");
  record.chineseName = TextFromJson(object["chineseName"], Place(place, "chineseName"));
  record.englishName = TextFromJson(object["englishName"], Place(place, "englishName"));
  if (object.contains("aliases")) {
    const Json& aliases = object["aliases"];
    if (!aliases.is_array() || aliases.empty() || aliases.size() > kMaxAliases)
      Fail(Place(place, "aliases"), "expected an array of 1 to 5 texts");
    record.aliasUpperIndex = static_cast<uint16_t>(aliases.size() - 1);
    for (size_t i = 0; i < aliases.size(); ++i)
      record.aliases[i] = TextFromJson(aliases[i], Place(Place(place, "aliases"), i));
  } else {
    record.aliasUpperIndex = 0;
    record.aliases[0] = record.chineseName;
  }
  return record;
}

}  // namespace

Databases DatabasesFromJson(const Json& source, const std::filesystem::path& sourceFolder) {
  if (!source.is_object()) Fail("(top)", "expected an object");
  RejectUnknownKeys(source, {"version", "records", "encyclopedia"}, "");
  Databases databases;
  ReadVersion(source, databases.recognition);

  const Json records = source.contains("records") ? source["records"] : Json::array();
  if (!records.is_array()) Fail("records", "expected an array");
  if (records.size() > kMaxRecognitionRecords) Fail("records", "more than 32767 records");
  for (size_t i = 0; i < records.size(); ++i)
    databases.recognition.records.push_back(
        RecordFromJson(records[i], i, Place("records", i), sourceFolder));

  const Json entries = source.contains("encyclopedia") ? source["encyclopedia"] : Json::array();
  if (!entries.is_array()) Fail("encyclopedia", "expected an array");
  for (size_t i = 0; i < entries.size(); ++i)
    databases.encyclopedia.entries.push_back(
        EntryFromJson(entries[i], Place("encyclopedia", i), true));
  for (size_t i = 0; i < records.size(); ++i) {
    if (!records[i].contains("encyclopedia")) continue;
    EncyclopediaEntry entry = EntryFromJson(records[i]["encyclopedia"],
                                            Place(Place("records", i), "encyclopedia"), false);
    // The entry describes the record it stands in.
    entry.links = {static_cast<uint16_t>(i + 1)};
    entry.present[kTagLink] = true;
    if (!entry.tagOrder.empty()) entry.tagOrder.insert(entry.tagOrder.begin(), kTagLink);
    databases.encyclopedia.entries.push_back(std::move(entry));
  }
  if (databases.encyclopedia.entries.size() > kMaxEncyclopediaEntries)
    Fail("encyclopedia", "more than 1024 entries");
  return databases;
}

Json DatabasesToJson(const Databases& databases) {
  const RecognitionDb& recognition = databases.recognition;
  Json version = {{"major", recognition.versionByteA & 0x0F},
                  {"minor", recognition.versionByteB >> 4},
                  {"revision", recognition.versionByteB & 0x0F},
                  {"unofficial", (recognition.versionByteA & 0x80) != 0}};
  if (recognition.versionByteA & 0x70)
    version["reservedBits"] = (recognition.versionByteA >> 4) & 0x07;

  Json records = Json::array();
  for (const RecognitionRecord& record : recognition.records) {
    Json aliases = Json::array();
    for (int i = 0; i <= record.aliasUpperIndex; ++i)
      aliases.push_back(TextToJson(record.aliases[i]));
    records.push_back({{"number", record.number},
                       {"fingerprint", ToHex(record.fingerprint.data(), record.fingerprint.size())},
                       {"header", ToHex(record.header.data(), record.header.size())},
                       {"chineseName", TextToJson(record.chineseName)},
                       {"englishName", TextToJson(record.englishName)},
                       {"aliases", aliases}});
  }
  Json entries = Json::array();
  for (const EncyclopediaEntry& entry : databases.encyclopedia.entries)
    entries.push_back(EntryToJson(entry));
  return {{"version", version}, {"records", records}, {"encyclopedia", entries}};
}

}  // namespace wrenfold::cartdesk_db
