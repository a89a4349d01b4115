#include "frontend/model/ui_text.h"

namespace wrenfold {

namespace {

using enum FormName;

constexpr CaptionEntry kCaptions[] = {
    // Main window
    {Form1, "Form1", "ROM大百科", "ROM Encyclopedia"},
    {Form1, "Frame1", "Wrenfold工具箱：ROM大百科", "Wrenfold:ROM Encyclopedia 2.0"},
    {Form1, "Command6", "清除个性化设置", "Clear Personal Setting"},
    {Form1, "Cmd_Start", "开始游戏", "Start Game"},
    // Control panel face
    {Form1, "FrameCfg", "Wrenfold控制台", "Wrenfold Control Panel"},
    {Form1, "Frame2", "主机设置", "Console Setting"},
    {Form1, "Opt_Disp(0)", "NTSC(Default)", "NTSC(Default)"},
    {Form1, "Opt_Disp(1)", "PAL", "PAL"},
    {Form1, "Label21", "显示制式：", "Display Type:"},
    {Form1, "Label42", "显示设备：", "Display Device:"},
    {Form1, "Label40", "分辨率：", "Resolution"},
    {Form1, "Chk_Scanline", "扫描线模式", "Scanline"},
    {Form1, "Chk_Color", "彩色画面", "Color Output"},
    {Form1, "Chk2X", "普通2X屏幕放大", "Use Normal 2X Screen Zooming"},
    {Form1, "Chk_Windowed", "窗口模式（游戏中Alt+Enter切换）",
     "Windowed (Alt+Enter switches in the game)"},
    {Form1, "LabHardNum", "0", "0"},
    {Form1, "Label38", "中断定时微调（时钟周期）：", "IRQ Timing Adjust(Cycle):"},
    {Form1, "CmdHardWare0", "0", "0"},
    {Form1, "CmdHardWareDec", "-", "-"},
    {Form1, "CmdHardWareInc", "+", "+"},
    {Form1, "Option1(0)", "内嵌汇编核心，快", "New ASM Core"},
    {Form1, "Option1(1)", "C核心，比较准确", "Original C Core"},
    {Form1, "Option1(2)", "完整2A03核心，支持全部指令", "Full 2A03 Core"},
    {Form1, "Label39", "使用CPU核心：", "CPU Core:"},
    {Form1, "Frame3", "声音设置", "Sound Setting"},
    {Form1, "Chk_SoundEnable", "模拟声音输出", "Enable Sound"},
    {Form1, "Chk_Stereo", "使用模拟立体声", "Emulate Stereo Sound"},
    {Form1, "Chk_NamcoExtended", "开启Namcot106扩展声道模拟", "Enable Namcot 106 Extended Sound"},
    {Form1, "Chk_VRC6Extended", "开启VRC6扩展声道模拟", "Enable Konami VRC6 Extended Sound"},
    {Form1, "Frame4", "输入设备设置", "Input Setting"},
    {Form1, "Label24", "键盘", "Keyboard"},
    {Form1, "Label25", "手柄", "Joystick"},
    {Form1, "Label26", "上：", "Up:"},
    {Form1, "Label27", "下：", "Down:"},
    {Form1, "Label28", "左：", "Left:"},
    {Form1, "Label29", "右：", "Right:"},
    {Form1, "Label30", "Ａ：", "A:"},
    {Form1, "Label31", "Ｂ：", "B:"},
    {Form1, "Label32", "Ａ连发：", "Turbo A:"},
    {Form1, "Label33", "Ｂ连发：", "Turbo B:"},
    {Form1, "Label34", "选择：", "Select:"},
    {Form1, "Label35", "开始：", "Start"},
    {Form1, "Label36", "自动连发间隔：", "RapF Interval:"},
    {Form1, "Cmd_UpdateCfg", "存储当前设定", "Update Config"},
    {Form1, "Command5", "启动Wrenfold！", "Start Wrenfold!"},
    {Form1, "CmdSwap2", "切换到游戏资料百科", "Switch to Encyclopedia"},
    // Encyclopedia face: ROM list
    {Form1, "Command2", "ROM文件名", "File Name"},
    {Form1, "Command3", "游戏名称", "Game Name"},
    {Form1, "Command4", "英文名称", "English Name"},
    {Form1, "Label1", "您所选的ROM目录：", "Your ROM Directory:"},
    {Form1, "Cmd_ROMDirBrowse", "…", "…"},
    {Form1, "Lab_Filter", "筛选：", "Filter:"},
    {Form1, "Label6", "大百科数据库版本：", "Database Version:"},
    {Form1, "Cmd_FDS", "FDS...", "FDS..."},
    {Form1, "CmdSwap", "切换到Wrenfold控制台", "Switch to Wrenfold Control Panel"},
    // Encyclopedia face: game and music information
    {Form1, "framewin(1)", "游戏资料", "Game Infomation"},
    {Form1, "framewin(2)", "音乐资料", "Music Infomation"},
    {Form1, "Label11", "适用主机制式：", "Console Type:"},
    {Form1, "Label12", "语言版本：", "Language:"},
    {Form1, "Label13", "密技：", "Secret:"},
    {Form1, "Label15", "共？首，现为第？首", "Total:?,Now:?"},
    {Form1, "Label16", "出品公司：", "Producer:"},
    {Form1, "Label17", "游戏类型：", "Game Type:"},
    {Form1, "Label18", "游戏画面", "Screen  Shot"},
    {Form1, "Label19", "ROM 版本：", "ROM Ver:"},
    {Form1, "Label20", "卡带版本：", "Cart Ver:"},
    {Form1, "Pic_JP", "精品", "Top Pick"},
    {Form1, "Pic_JD", "经典", "Classic"},
    {Form1, "Cmd_GameIntro", "游戏简介", "Introduction"},
    {Form1, "Cmd_NextShot", "下一幅", "Another"},
    {Form1, "Command7", "游戏攻略", "Walkthrough"},
    {Form1, "Command8", "显示MIDI音乐资料", "MIDI Data"},
    {Form1, "Command9", "清除筛选", "Clear Filter"},
    {Form1, "Check1", "循环播放", "Loop"},
    {Form1, "Label37", "Host By", "Host By"},
    // Encyclopedia face: cartridge header
    {Form1, "framewin(0)", "卡带属性", "Cartridge Header"},
    {Form1, "Label4", "ROM容量：", "ROM Size:"},
    {Form1, "Label5", "VROM容量：", "VROM Size:"},
    {Form1, "Label2", "VROM垂直镜象映射", "Vertical Mirroring"},
    {Form1, "Label8", "电池记忆", "Battery Backup RAM"},
    {Form1, "Label10", "Trainer", "Trainer"},
    {Form1, "Label9", "４屏背景", "4 Screen Layout"},
    // First-run language form
    {FirstLan, "Option1(0)", "简体中文(GB)", "简体中文(GB)"},
    {FirstLan, "Option1(1)", "English", "English"},
    {FirstLan, "Command1", "确定", "确定"},
    // Splash form
    {Title, "Label1", "Wrenfold:ROM大百科 V2.2", "Wrenfold:ROM Encyclopedia V2.2"},
    // FDS loader
    {FdsLoader, "Frame1", "Wrenfold:FDS Loader", "Wrenfold:FDS Loader"},
    {FdsLoader, "Label2", "Wrenfold:FDS Loader", "Wrenfold:FDS Loader"},
    {FdsLoader, "Label1", "此目录下的FDS文件：", "FDS files in this folder:"},
    {FdsLoader, "Command1", "启动Wrenfold执行所选游戏", "Start Wrenfold with the chosen disk"},
    {FdsLoader, "Command2", "返回Wrenfold：ROM大百科", "Back to Wrenfold: ROM Encyclopedia"},
};

using enum MessageId;

constexpr MessageEntry kMessages[] = {
    // Control panel
    {JoystickFailTitle, "读取游戏杆状态失败", "Fail to initialize joystick"},
    {JoystickNoDriverText, "您的游戏控制器驱动安装不正确！",
     "Your joystick has not been installed correctly!"},
    {JoystickUnpluggedText, "游戏杆没有正确连接到接口上！",
     "No joystick connected! Plug one in and click the box again."},
    {HintIrqAdjust,
     "如果某个游戏出现画面断裂等问题，不妨修改一下IRQ定时。此数值将加到基础值(114)"
     "之上，影响模拟器。",
     "If a game shows a torn or shaking picture, try another IRQ timing. The value is added to "
     "the base of 114 cycles per line."},
    {HintStartEmulator, "立即启动Wrenfold执行您所选的游戏。",
     "Start the selected game (or double-click it, or press Enter). In the game: Esc quits, "
     "Alt+Enter window, F12 screenshot, F5/F7 save/load state."},
    {PlayerDeviceNone, "无", "None"},
    {PlayerDeviceKeyboard, "键盘", "Keyboard"},
    {PlayerDeviceJoystick, "手柄", "Joystick"},
    {Player1Label, "1P:", "1P:"},
    {Player2Label, "2P:", "2P:"},
    {Resolution640, "640*480", "640*480"},
    {Resolution800, "800*600", "800*600"},
    {Resolution1024, "1024*768", "1024*768"},
    // ROM list
    {NoRomFilesTitle, "未发现.NES文件", "No .NES files found"},
    {NoRomFilesText, "指定的目录下没有NES的ROM文件！",
     "There are no NES ROM files in the chosen folder!"},
    {ExtNameShowsChinese, "中文名称", "Chinese Name"},
    {ExtNameShowsEnglish, "英文名称", "English Name"},
    {HintFilenameList, "此列表中包含所选目录下的ROM文件名",
     "The ROM files of the chosen folder. Double-click a game or press Enter to play it."},
    {HintChineseNameList,
     "所选ROM的中文名称。您可以在上面双击左键并从大百科内存储的一些别名中选择一个您喜欢的作为默认名"
     "称",
     "The Chinese name of each ROM. Double-click it to choose one of the aliases the encyclopedia "
     "knows as the name shown."},
    {HintEnglishNameList, "所选ROM的英文名称。此名称是唯一的，不能改变",
     "The English name of each ROM; it cannot be changed. Double-click a game or press Enter to "
     "play it."},
    {HintSortByFileName, "单击按照ROM文件名排序", "Click to sort by file name"},
    {HintSortByGameName, "单击按照游戏的中文名称排序", "Click to sort by Chinese name"},
    {HintSortByEnglishName, "单击按照游戏英文名称排序", "Click to sort by English name"},
    {HintRomDirectory, "此目录应包含您所有的NESROM",
     "This folder should hold all your NES ROMs: type it and press Enter, or choose it with …"},
    {HintDatabaseVersion, "大百科的数据库将不定期更新，您只要下载新的版本就能识别更多的ROM",
     "The encyclopedia databases are updated now and then; a newer one recognises more ROMs."},
    {HintMessageLine, "单击提示条可将其隐藏", "Click the hint line to hide it"},
    {HintFilter, "输入文字，清单中只留下文件名、中英文名称或别名含有这些文字的ROM",
     "Type to keep only the ROMs whose file name, Chinese or English name or alias holds the "
     "words"},
    {FilterPlaceholder, "文件名、游戏名称或别名", "file name, game name or alias"},
    {HintBrowseRomDirectory, "选择ROM目录", "Choose the ROM folder"},
    {ChooseRomDirectoryTitle, "选择ROM目录", "Choose your ROM folder"},
    // Encyclopedia
    {CartInfoDamagedTitle, "校验字损坏", "Checksum incorrect"},
    {CartInfoDamagedText, "大百科数据库（CARTINFO.ENC）损坏，请重新下载！",
     "CartInfo.ENC is damaged or bad.Redownload one!"},
    {CartInfoSectionHeadTitle, "段首识别码错误", "Damaged section mark"},
    {CartInfoSectionHeadText, "大百科数据库（CARTINFO.ENC）内部结构损坏！请重新下载！",
     "The encyclopedia (CARTINFO.ENC) is damaged inside! Please get it again!"},
    {HintIntroduction, "单击显示或隐藏游戏简介窗口",
     "Click to show or hide the game's introduction"},
    {HintScreenshot, "按下鼠标左键放大图片",
     "Hold the left mouse button down to enlarge the picture"},
    {HintSecretText, "单击此栏切换到下一个密技", "Click here for the next secret"},
    {HintWalkthrough, "单击显示或隐藏此游戏的全部密技",
     "Click to show or hide all secrets of the game"},
    {WalkthroughNone, "大百科中没有此游戏的密技。",
     "The encyclopedia knows no secrets of this game."},
    // Header panel
    {HeaderPrgSizePrefix, "ROM容量：", "ROM Size:"},
    {HeaderChrSizePrefix, "VROM容量：", "VROM Size:"},
    {HeaderSizeUnit, "K", "K"},
    {HeaderMapperPrefix, "Mapper#", "Mapper#"},
    {HeaderMismatchTitle, "文件头有误", "ROM Header mismatch"},
    {HeaderMismatchText,
     "此ROM的文件头与大百科中存储的同名ROM文件头不符，这很可能是由于你的ROM数据不正确造成的。"
     "如果不修正此文件则模拟可能会不正确。是否要修正此文件？",
     "This ROM's header is different from the standard one stored in Encyclopedia.It is highly "
     "possible that your ROM header is incorrect.If you choose not to repair this ROM,The "
     "emulation may not be correctly.Do you wish to repair it automatically?"},
    {RepairReadOnlyTitle, "无法修改文件", "Repair failed"},
    {RepairReadOnlyText, "此ROM文件为只读属性", "This file is readonly!"},
    {HeaderRepairedTitle, "修正ROM文件头", "Header repaired"},
    {HeaderRepairedText, "修正完毕", "Finish!"},
    {TrashFoundTitle, "发现垃圾数据", "Discover trash in Header"},
    {TrashFoundText,
     "此ROM的文件头中含有垃圾数据。这些数据是违背iNES文件头标准的，有可能导致ROM不能被正确识别。"
     "清除这些垃圾数据吗？",
     "This ROM's Header contain trashed data.These data may result in wrong ROM "
     "identification.Do you want to clear these data?"},
    {TrashClearedText, "垃圾数据清除完毕", "The trash data is cleared"},
    {DefaultMessageTitle, "cartdesk", "cartdesk"},
    // Start-up and personal settings
    {ProgressLoadingPersonal, "加载个性化设置数据……", "Loading the personal settings…"},
    {ProgressLoadingRecognition, "加载识别数据库……", "Loading the recognition database…"},
    {ProgressLoadingEncyclopedia, "加载大百科数据库……", "Loading the encyclopedia…"},
    {ProgressInitialising, "初始化……", "Getting ready…"},
    {ProgressBuildingList, "建立ROM清单……", "Building the ROM list…"},
    {ClearPersonalTitle, "Wrenfold：ROM大百科", "Wrenfold: ROM Encyclopedia"},
    {ClearPersonalQuestion, "是否要清除所有个性化设置？", "Clear all personal settings?"},
    {HintClearPersonal, "清除个性化设置", "Forget the names chosen among the aliases"},
    {HintWindowed, "游戏在可调整大小的窗口中运行，而不是全屏",
     "Play in a resizable window instead of the full screen"},
    {FirstRunPromptChinese, "您好！这是您第一次运行Wrenfold 2000 b3 世界版，请您选择您所用的语言",
     "您好！这是您第一次运行Wrenfold 2000 b3 世界版，请您选择您所用的语言"},
    {FirstRunPromptEnglish,
     "This is your first time running Wrenfold 2000 b3 World Edition.Please choose your language",
     "This is your first time running Wrenfold 2000 b3 World Edition.Please choose your language"},
    {FirstRunConfirmChinese, "确定", "确定"},
    {FirstRunConfirmEnglish, "OK", "OK"},
    // Problems with files
    {ErrorTitle, "错误", "Error"},
    {ConfigMissing, "找不到配置文件Wrenfold.CFG，将使用默认设定。",
     "Wrenfold.CFG was not found. The default settings are used."},
    {ConfigUnreadable, "无法读取配置文件Wrenfold.CFG，将使用默认设定。",
     "Wrenfold.CFG cannot be read. The default settings are used."},
    {ConfigDamaged, "配置文件Wrenfold.CFG已损坏，未能读取的设定将使用默认值。",
     "Wrenfold.CFG is damaged. Settings that could not be read keep their defaults."},
    {ConfigTooManyItems, "配置文件Wrenfold.CFG的条目过多（最多1024条），文件未被修改。",
     "Wrenfold.CFG has too many items (at most 1024). The file was not changed."},
    {ConfigNoRomDirectory, "配置文件Wrenfold.CFG中没有ROMDIR=项，将使用默认的ROM目录。",
     "Wrenfold.CFG has no ROMDIR= line. The default ROM directory is used."},
    {ConfigNoEndMarker, "配置文件Wrenfold.CFG不完整（缺少结尾的“;”）。",
     "Wrenfold.CFG is incomplete (the closing \";\" is missing)."},
    {ConfigWriteFailed, "无法写入配置文件Wrenfold.CFG，原文件未被修改。",
     "Wrenfold.CFG could not be written. The old file was left unchanged."},
    {NoRomSelected, "请先选择一个ROM文件！", "Please choose a ROM file first!"},
    {LineBreakInName, "文件名或目录名中含有换行符，无法写入Wrenfold.CFG！",
     "The file or folder name holds a line break and cannot be written to Wrenfold.CFG!"},
    {EmulatorStartFailed, "无法启动Wrenfold模拟器！",
     "The Wrenfold emulator could not be started!"},
    {EmulatorFailedTitle, "Wrenfold出错", "Wrenfold stopped"},
    {EmulatorFailedText, "Wrenfold异常结束（退出状态 %1）。日志wrenfold.tst的最后一行：",
     "Wrenfold ended with an error (exit status %1). The last line of its log, wrenfold.tst:"},
    {EmulatorLogEmpty, "（日志为空）", "(the log is empty)"},
    {PersonalUnreadable, "无法读取个性化设置文件Wrenfold.PER。", "Wrenfold.PER cannot be read."},
    {PersonalDamaged, "个性化设置文件Wrenfold.PER已损坏，未能读取的选择将恢复为默认名称。",
     "Wrenfold.PER is damaged. Choices that could not be read are back to the default name."},
    {PersonalWriteFailed, "无法写入个性化设置文件Wrenfold.PER，原文件未被修改。",
     "Wrenfold.PER could not be written. The old file was left unchanged."},
    {RomHeaderUnreadable, "无法读取此ROM文件！", "This ROM file cannot be read!"},
    {RomHeaderTooShort, "此ROM文件太短，没有完整的文件头！",
     "This ROM file is too short to hold a header!"},
    {RomWriteFailed, "写入ROM文件失败！", "Writing the ROM file failed!"},
    {StoredHeaderDamaged, "数据库中存储的此ROM文件头已损坏（不以NES开头），不能用来修正文件。",
     "The header stored for this ROM in the database is damaged (it does not begin with "
     "\"NES\"), so it cannot be used to repair the file."},
};

static_assert(std::size(kMessages) == static_cast<size_t>(kMessageCount),
              "every message id needs its texts");

constexpr bool MessagesInIdOrder() {
  for (int i = 0; i < kMessageCount; ++i) {
    if (static_cast<int>(kMessages[i].id) != i) return false;
  }
  return true;
}
static_assert(MessagesInIdOrder(), "kMessages must be listed in MessageId order");

std::string_view Pick(std::string_view chinese, std::string_view english, int language) {
  return language == kLanguageEnglish ? english : chinese;
}

}  // namespace

std::span<const CaptionEntry> AllCaptions() {
  return kCaptions;
}

const CaptionEntry* FindCaption(FormName form, std::string_view control) {
  for (const CaptionEntry& entry : kCaptions) {
    if (entry.form == form && entry.control == control) return &entry;
  }
  return nullptr;
}

std::string_view CaptionText(FormName form, std::string_view control, int language) {
  const CaptionEntry* entry = FindCaption(form, control);
  return entry ? Pick(entry->chinese, entry->english, language) : std::string_view();
}

std::span<const MessageEntry> AllMessages() {
  return kMessages;
}

std::string_view MessageText(MessageId id, int language) {
  int index = static_cast<int>(id);
  if (index < 0 || index >= kMessageCount) return {};
  return Pick(kMessages[index].chinese, kMessages[index].english, language);
}

}  // namespace wrenfold
