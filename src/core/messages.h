// Every text the engine and its backends show the player, in one list. The
// list yields an enum of the messages, a table of their texts, and one named
// constant per text, which printf-style callers use so the compiler checks
// their arguments. The source is UTF-8; the Windows build turns the literals
// into code page 936 at compile time.
// The banner and the first title point to the manual that comes with the
// engine: docs/ in the source tree and in the Windows package,
// /usr/share/doc/vindle in the .deb.
#pragma once

#include <cstddef>

// The table is laid out by hand.
// clang-format off
#define VINDLE_MESSAGES(X)                                                                      \
    /* start-up and diagnostics */                                                             \
    X(kMsgBanner1, "本游戏引擎由Vindle团队开发：用C语言写出你的第一个游戏！")                   \
    X(kMsgBanner2, "函数手册：引擎的 docs 文件夹里的 api（每个函数的用法和例子）")              \
    X(kMsgBanner3, "看不懂提示时，查同一个文件夹里的 mistakes（常见错误和解决办法）")           \
    X(kMsgBanner4, "学编程，从写游戏开始；多动手，多思考！")                                    \
    X(kMsgExePathFailed, "获取当前exe文件路径出错")                                    \
    X(kMsgExeDirFailed, "获取exe文件路径出错,错误码：")                              \
    X(kMsgFatalCaption, "遇到严重错误，程序即将退出！")                             \
    X(kMsgInitialTitle, "C语言游戏引擎 Vindle（手册在 docs 文件夹里）")                         \
    X(kMsgZqInitNeverCalled,                                                                   \
      "提示：程序结束了，但一直没有调用 zqInit，所以游戏窗口没有打开。请在 main 函数里写 zqInit(gameMain);") \
    X(kMsgResourcesDirTooLong, "资源目录太长（不能超过%d字节），仍使用原来的目录")      \
    X(kMsgNoWindowSystem, "无法连接到窗口系统，游戏窗口打不开（没有可用的显示器）")          \
    X(kMsgAlreadyStarted, "游戏引擎已经启动了：zqInit只能调用一次")                            \
    X(kMsgWindowSystemFailed, "窗口系统出错，游戏无法继续：%s")                               \
    X(kMsgKeyRepeatReleases, "窗口系统不支持可检测的按键重复：按住一个键会反复触发松开的处理函数") \
    /* texts */                                                                                \
    X(kMsgTextMissing, "不存在编号为%d的文本")                                         \
    X(kMsgTextExists, "已经存在编号为%d的文本")                                        \
    /* pictures and images */                                                                  \
    X(kMsgPngMissing, "图片 %s 文件不存在！")                                              \
    X(kMsgPngNotPng, "不支持png之外其他格式图片。给到的图片 %s 不是png图片！")     \
    X(kMsgImageLoadFailed, "无法加载图片 %s ，可能图片不存在")                       \
    X(kMsgPngTooLarge, "图片 %s 太大：解码它需要的内存超过 512 MB，请把图片缩小或切成几张") \
    X(kMsgImageExists, "已经存在编号为 %d 的图片")                                      \
    X(kMsgImageMissing, "不存在编号为%d的图片 ")                                        \
    X(kMsgImageMissingNoBlank, "不存在编号为%d的图片")                                  \
    /* sprites */                                                                              \
    X(kMsgSpriteExists, "已经存在编号为%d的精灵")                                      \
    X(kMsgSpriteFolderMissing, "精灵文件夹【%s】不存在")                                \
    X(kMsgSpriteMissing, "不存在编号为%d的精灵 ")                                       \
    X(kMsgSpriteMissingNoBlank, "不存在编号为%d的精灵")                                 \
    X(kMsgActionMissing, "%s精灵中没有名字为%s的动作，因为查找%s这个路径不存在") \
    X(kMsgFrameLoadFailed, "加载图片失败%s")                                               \
    /* sound */                                                                                \
    X(kMsgSoundBadExtension, "音乐只支持wav和mp3")                                        \
    X(kMsgSoundMissing, "音乐【%s】不存在")                                                \
    X(kMsgSoundUnsupported,                                                                    \
      "音频文件【%s】格式不被支持，请换其他普通MP3文件。错误详细信息：MCI接口初始化错误") \
    X(kMsgSoundNoDevice, "没有可用的音频输出设备（%s），游戏继续运行，但没有声音")           \
    /* sound errors of the Linux backend (Windows asks MCI for its own texts) */               \
    X(kMsgSoundHardware, "指定的设备有硬件问题，无法打开音频输出。")                      \
    X(kMsgSoundNotOpen, "指定的设备未打开，或不被 MCI 识别。")                               \
    X(kMsgSoundFileNotFound, "找不到指定的文件。请确认路径和文件名是否正确。")             \
    X(kMsgSoundCannotDecode, "MCI 设备驱动程序出现内部错误：无法解码该音频文件。")           \
    X(kMsgSoundUnknownError, "未知的 MCI 错误（%d）。")                                       \
    X(kMsgSoundNoWebAudio, "浏览器没有提供 Web Audio")                                       \
    /* dialogs */                                                                              \
    X(kMsgDialogCaption, "提示")                                                               \
    /* buttons of the Linux message boxes (Windows labels its own) */                          \
    X(kMsgButtonYes, "是(Y)")                                                                  \
    X(kMsgButtonNo, "否(N)")                                                                   \
    X(kMsgButtonOk, "确定")

// clang-format on

#define VINDLE_MESSAGE_ID(name, text) name##Id,
enum class MessageId { VINDLE_MESSAGES(VINDLE_MESSAGE_ID) kCount };
#undef VINDLE_MESSAGE_ID

#define VINDLE_MESSAGE_TEXT(name, text) inline constexpr char name[] = text;
VINDLE_MESSAGES(VINDLE_MESSAGE_TEXT)
#undef VINDLE_MESSAGE_TEXT

#define VINDLE_MESSAGE_ENTRY(name, text) name,
inline constexpr const char* kMessageTexts[] = {VINDLE_MESSAGES(VINDLE_MESSAGE_ENTRY)};
#undef VINDLE_MESSAGE_ENTRY
static_assert(sizeof kMessageTexts / sizeof kMessageTexts[0] == static_cast<size_t>(MessageId::kCount));

inline const char* messageText(MessageId id) { return kMessageTexts[static_cast<int>(id)]; }

// The lines printed when the game starts, before its window opens.
inline constexpr const char* kBannerLines[] = {kMsgBanner1, kMsgBanner2, kMsgBanner3, kMsgBanner4};
