// Every text the engine shows the player, in one list. The source is UTF-8; the
// Windows build turns the literals into code page 936 at compile time.
#pragma once

#define VINDLE_MESSAGES(X)                                                                      \
    /* start-up and diagnostics */                                                             \
    X(kMsgExePathFailed, "获取当前exe文件路径出错")                                    \
    X(kMsgExeDirFailed, "获取exe文件路径出错,错误码：")                              \
    X(kMsgFatalCaption, "遇到严重错误，程序即将退出！")                             \
    X(kMsgInitialTitle, "C语言游戏引擎 https://vindle.example.org")                        \
    X(kMsgZqInitNeverCalled,                                                                   \
      "提示：程序结束了，但一直没有调用 zqInit，所以游戏窗口没有打开。请在 main 函数里写 zqInit(gameMain);") \
    X(kMsgResourcesDirTooLong, "资源目录太长（不能超过%d字节），仍使用原来的目录")      \
    /* texts */                                                                                \
    X(kMsgTextMissing, "不存在编号为%d的文本")                                         \
    X(kMsgTextExists, "已经存在编号为%d的文本")                                        \
    /* pictures and images */                                                                  \
    X(kMsgPngMissing, "图片 %s 文件不存在！")                                              \
    X(kMsgPngNotPng, "不支持png之外其他格式图片。给到的图片 %s 不是png图片！")     \
    X(kMsgImageLoadFailed, "无法加载图片 %s ，可能图片不存在")                       \
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
    /* dialogs */                                                                              \
    X(kMsgDialogCaption, "提示")

#define VINDLE_DEFINE_MESSAGE(name, text) inline constexpr char name[] = text;
VINDLE_MESSAGES(VINDLE_DEFINE_MESSAGE)
#undef VINDLE_DEFINE_MESSAGE
