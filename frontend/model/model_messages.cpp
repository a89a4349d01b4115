#include "frontend/model/model_messages.h"

namespace wrenfold {

MessageId MessageFor(ConfigStatus status) {
  switch (status) {
    case ConfigStatus::Ok:
      return MessageId::Count;
    case ConfigStatus::Missing:
      return MessageId::ConfigMissing;
    case ConfigStatus::Unreadable:
      return MessageId::ConfigUnreadable;
    case ConfigStatus::Damaged:
      return MessageId::ConfigDamaged;
    case ConfigStatus::TooManyItems:
      return MessageId::ConfigTooManyItems;
    case ConfigStatus::NoRomDirectory:
      return MessageId::ConfigNoRomDirectory;
    case ConfigStatus::NoEndMarker:
      return MessageId::ConfigNoEndMarker;
    case ConfigStatus::NoRomSelected:
      return MessageId::NoRomSelected;
    case ConfigStatus::LineBreakInValue:
      return MessageId::LineBreakInName;
    case ConfigStatus::WriteFailed:
      return MessageId::ConfigWriteFailed;
  }
  return MessageId::Count;
}

MessageId MessageFor(PersonalSettingsStatus status) {
  switch (status) {
    case PersonalSettingsStatus::Ok:
    case PersonalSettingsStatus::Missing:
      return MessageId::Count;
    case PersonalSettingsStatus::Unreadable:
      return MessageId::PersonalUnreadable;
    case PersonalSettingsStatus::Damaged:
      return MessageId::PersonalDamaged;
    case PersonalSettingsStatus::WriteFailed:
      return MessageId::PersonalWriteFailed;
  }
  return MessageId::Count;
}

MessageId MessageFor(HeaderFileStatus status) {
  switch (status) {
    case HeaderFileStatus::Ok:
      return MessageId::Count;
    case HeaderFileStatus::CannotOpen:
      return MessageId::RomHeaderUnreadable;
    case HeaderFileStatus::TooShort:
      return MessageId::RomHeaderTooShort;
    case HeaderFileStatus::ReadOnly:
      return MessageId::RepairReadOnlyText;
    case HeaderFileStatus::WriteFailed:
      return MessageId::RomWriteFailed;
    case HeaderFileStatus::StoredHeaderDamaged:
      return MessageId::StoredHeaderDamaged;
  }
  return MessageId::Count;
}

}  // namespace wrenfold
