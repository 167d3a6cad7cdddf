// The help of the program and of each command, in English and Chinese.

#include "cli/CommandLine.h"

namespace cli {
namespace {

// The help's last paragraph: what the platform asks of the user.
#ifdef _WIN32
constexpr Text HELP_PLATFORM = {
    "Without a command the tool opens its window and looks for the reader on the USB\n"
    "bus. A command writes to the console it was started from, or UTF-8 to the file\n"
    "or pipe its output goes to; at cmd's prompt 'start /wait reader-config ...'\n"
    "waits for it and sets ERRORLEVEL to its exit status.\n",
    "不带命令时打开窗口，在 USB 总线上查找读卡器。命令的输出写到启动它的控制台，\n"
    "或以 UTF-8 写入重定向的文件或管道；在 cmd 中用 'start /wait reader-config ...'\n"
    "等待它结束，ERRORLEVEL 即为它的退出状态。\n"};
#else
constexpr Text HELP_PLATFORM = {
    "Without a command the tool opens its window and looks for the reader on the USB\n"
    "bus. On Linux the reader's hidraw node needs the udev rule installed with the\n"
    "tool. See reader-config(1).\n",
    "不带命令时打开窗口，在 USB 总线上查找读卡器。在 Linux 上，读卡器的 hidraw 设备\n"
    "节点需要随本工具安装的 udev 规则。详见 reader-config(1)。\n"};
#endif

constexpr Text USAGE = {
    "Usage: {} [OPTION]...                 open the window\n"
    "  or:  {} [OPTION]... read\n"
    "  or:  {} [OPTION]... apply PROFILE [--force]\n"
    "  or:  {} [OPTION]... verify PROFILE\n"
    "  or:  {} [OPTION]... batch PROFILE [--count N] [--log FILE.csv] [--parallel]\n"
    "  or:  {} [OPTION]... list\n",
    "用法：{} [选项]...                    打开窗口\n"
    "  或：{} [选项]... read\n"
    "  或：{} [选项]... apply 配置文件 [--force]\n"
    "  或：{} [选项]... verify 配置文件\n"
    "  或：{} [选项]... batch 配置文件 [--count N] [--log 文件.csv] [--parallel]\n"
    "  或：{} [选项]... list\n"};

constexpr Text OVERVIEW = {
    "Configure a USB HID card reader (vendor 016c, product 04f3): ID card number\n"
    "format, magnetic tracks and sentinels, and the keys of its keypad variant.\n"
    "\n"
    "Commands (no display needed; they do what the window's buttons do):\n"
    "  read            print the attached device's settings (and key names of a\n"
    "                  keypad); with --json as a profile that apply and verify take\n"
    "  apply PROFILE   read the device, write what differs from the profile (Set\n"
    "                  Device, and Config key when it has keys), read it back and\n"
    "                  compare; says what changed, or \"unchanged\"; --force writes\n"
    "                  without reading first\n"
    "  verify PROFILE  compare the attached device with the profile; print each\n"
    "                  setting that differs, expected and found\n"
    "  batch PROFILE   configure and verify every device as it is plugged in, one\n"
    "                  progress line each and a summary at the end; --count N stops\n"
    "                  after N devices, --log appends one CSV row per device (time,\n"
    "                  count, result, device path, serial number); --parallel\n"
    "                  configures every device attached and plugged in at once,\n"
    "                  each on its own\n"
    "  list            print every attached reader and keypad interface: device\n"
    "                  path, interface, serial number, and whether it may be opened\n"
    "'{} COMMAND --help' shows the help of one command.\n",
    "配置 USB HID 读卡器（厂商 016c，产品 04f3）：ID卡号码格式、磁卡轨道和起始符、\n"
    "结束符，以及带键盘读卡器的按键。\n"
    "\n"
    "命令（不需要显示器；它们做的就是窗口中按钮做的事）：\n"
    "  read            显示所连接设备的设置（键盘读卡器还有按键名）；加 --json\n"
    "                  则输出 apply 和 verify 可以使用的配置文件\n"
    "  apply 配置文件  先读取设备，只写入与配置文件不同的设置（设置设备，配置文件\n"
    "                  有按键时还有配置键盘），再读回比较；说明改了什么，或“未更改”；\n"
    "                  --force 不先读取，直接写入\n"
    "  verify 配置文件 比较所连接的设备与配置文件；列出每项不同的设置，应为何值、\n"
    "                  实际何值\n"
    "  batch 配置文件  批量设置：每插入一台设备就配置并校验它，每台一行进度，最后\n"
    "                  一行汇总；--count N 在 N 台后停止，--log 为每台追加一行 CSV\n"
    "                  记录（时间、序号、结果、设备路径、序列号）；--parallel 同时\n"
    "                  配置所有已连接和新插入的设备，各自独立\n"
    "  list            列出所有已连接的读卡器和键盘接口：设备路径、接口、序列号，\n"
    "                  以及能否打开\n"
    "'{} 命令 --help' 显示单个命令的帮助。\n"};

constexpr Text OPTIONS = {
    "Options:\n"
    "  --device PATH        talk to the device at PATH only (see 'list')\n"
    "  --serial S           talk to the device with serial number S only; without\n"
    "                       --device or --serial a command refuses when more than\n"
    "                       one device is attached\n"
    "  --json               print the result as JSON (batch: one object a line);\n"
    "                       see reader-config(1), JSON OUTPUT\n"
    "  -q, --quiet          print no progress (batch's opening line, the line of\n"
    "                       each reader verified); results and errors remain\n"
    "  -v, --verbose        also tell each step on standard error; -vv adds the\n"
    "                       settings read and written (--trace shows the reports)\n"
    "  --lang zh|en         messages in Chinese or English (default: the locale's)\n"
    "  --simulate[=DEVICE]  use a virtual device instead of real hardware;\n"
    "                       DEVICE is reader (default), keypad, old-reader or silent;\n"
    "                       batch plugs in one fresh virtual device after another;\n"
    "                       a list (reader,reader,keypad) attaches one device each\n"
    "  --simulate-state FILE  keep the virtual devices in FILE between commands: the\n"
    "                       first run makes them, later runs find what they hold\n"
    "  --trace FILE         write every HID report sent and received to FILE\n"
    "                       (- for standard error)\n"
    "  -h, --help           show this help and exit\n"
    "  -V, --version        show the version and exit\n",
    "选项：\n"
    "  --device 路径        只与位于该路径的设备通信（见 'list'）\n"
    "  --serial 序列号      只与该序列号的设备通信；不给 --device 或 --serial 时，\n"
    "                       连接了多台设备则命令拒绝执行\n"
    "  --json               以 JSON 输出结果（batch：每行一个对象）；\n"
    "                       见 reader-config(1) 的 JSON OUTPUT 一节\n"
    "  -q, --quiet          不显示进度（batch 的开始提示、每台校验通过的设备行）；\n"
    "                       结果和错误照常显示\n"
    "  -v, --verbose        在标准错误上说明每一步；-vv 还列出读取和写入的设置\n"
    "                       （--trace 记录每个报告）\n"
    "  --lang zh|en         用中文或英文显示信息（默认按区域设置 LANG）\n"
    "  --simulate[=设备]    使用虚拟设备代替真实硬件；设备可为 reader（默认）、\n"
    "                       keypad、old-reader 或 silent；batch 依次插入新的虚拟\n"
    "                       设备；列表（reader,reader,keypad）每项连接一台设备\n"
    "  --simulate-state 文件  在命令之间把虚拟设备保存在文件中：第一次运行创建，\n"
    "                       以后的运行找到它们保存的设置\n"
    "  --trace 文件         把收发的每个 HID 报告写入文件（- 表示标准错误）\n"
    "  -h, --help           显示本帮助并退出\n"
    "  -V, --version        显示版本并退出\n"};

constexpr Text FILES = {
    "A PROFILE is a JSON file {\"version\": 1, ...} as 'read --json' prints it; - reads\n"
    "it from standard input. '--log -' writes the batch log to standard output (the\n"
    "progress then goes to standard error).\n",
    "配置文件是 'read --json' 输出的 JSON 文件 {\"version\": 1, ...}；- 表示从标准输入\n"
    "读取。'--log -' 把批量记录写到标准输出（进度则写到标准错误）。\n"};

constexpr Text EXIT_STATUS = {
    "Exit status:\n"
    "  0  done, or nothing to do: written, unchanged, or the device holds the profile\n"
    "  1  the device differs from the profile (verify, apply's read-back), or a\n"
    "     batch device failed\n"
    "  2  error: bad option or profile, no device, failed transfer, a file that\n"
    "     cannot be read or written\n",
    "退出状态：\n"
    "  0  完成，或无需操作：已写入、未更改，或设备与配置文件一致\n"
    "  1  设备与配置文件不同（verify、apply 的读回比较），或批量设置中有设备失败\n"
    "  2  错误：选项或配置文件有误、没有设备、传输失败、文件无法读取或写入\n"};

// One command's help: usage, what it does, its own options, its exit status.
struct CommandHelp {
    Text usage, description, exit;
};

constexpr Text COMMON = {
    "Options of every command: --device PATH, --serial S, --json, -q, -v, --lang zh|en,\n"
    "--simulate[=DEVICE], --simulate-state FILE, --trace FILE; see '{} --help'.\n",
    "所有命令的选项：--device 路径、--serial 序列号、--json、-q、-v、--lang zh|en、\n"
    "--simulate[=设备]、--simulate-state 文件、--trace 文件；见 '{} --help'。\n"};

constexpr CommandHelp READ_HELP = {
    {"Usage: {} [OPTION]... read [--json]\n", "用法：{} [选项]... read [--json]\n"},
    {"Print the attached device's settings, one 'field = value' line each (the\n"
     "settings that take effect on the reader), and the key names of a keypad.\n"
     "\n"
     "  --json               print them as a profile that apply and verify take\n"
     "                       (the profile format, \"version\": 1 or 2)\n",
     "显示所连接设备的设置，每项一行 '字段 = 值'（在读卡器上生效的设置），键盘\n"
     "读卡器还显示按键名。\n"
     "\n"
     "  --json               以配置文件输出，apply 和 verify 可直接使用\n"
     "                       （配置文件格式，\"version\": 1 或 2）\n"},
    {"Exit status: 0 read, 2 error.\n", "退出状态：0 已读取，2 错误。\n"}};

constexpr CommandHelp APPLY_HELP = {
    {"Usage: {} [OPTION]... apply PROFILE [--force]\n",
     "用法：{} [选项]... apply 配置文件 [--force]\n"},
    {"Read the attached device and write what differs from PROFILE into it (Set\n"
     "Device for the general settings, Config key for a keypad's keys), then read\n"
     "it back and compare. Prints each setting changed ('changed FIELD: BEFORE ->\n"
     "AFTER') and 'applied', or 'unchanged' when the device held the profile\n"
     "already, so that a configuration manager can report change honestly and a\n"
     "reader is not rewritten needlessly. A profile with keys needs a keypad;\n"
     "nothing is written to a device the profile does not fit.\n"
     "\n"
     "  PROFILE              a profile file as 'read --json' prints it; - for\n"
     "                       standard input\n"
     "  --force              write every setting without reading the device first\n"
     "  --json               print {\"command\": \"apply\", \"version\": 1,\n"
     "                       \"changed\": true|false, \"written\": [...], ...}\n",
     "先读取所连接的设备，只把与配置文件不同的设置写入（通用设置用设置设备，键盘\n"
     "读卡器的按键用配置键盘），再读回比较。逐项显示改动（'已更改 字段：原值 ->\n"
     "新值'）和“已写入”，设备已与配置文件一致时显示“未更改”；这样配置管理工具能\n"
     "如实报告是否有改动，读卡器也不会被无谓地重写。带按键的配置文件需要键盘读卡\n"
     "器；配置文件不适合的设备不会被写入任何内容。\n"
     "\n"
     "  配置文件             'read --json' 输出的配置文件；- 表示标准输入\n"
     "  --force              不先读取设备，直接写入全部设置\n"
     "  --json               输出 {\"command\": \"apply\", \"version\": 1,\n"
     "                       \"changed\": true|false, \"written\": [...], ...}\n"},
    {"Exit status: 0 applied or unchanged, 1 written but the device reads back\n"
     "otherwise, 2 error.\n",
     "退出状态：0 已写入或未更改，1 已写入但读回的设置不同，2 错误。\n"}};

constexpr CommandHelp VERIFY_HELP = {
    {"Usage: {} [OPTION]... verify PROFILE\n", "用法：{} [选项]... verify 配置文件\n"},
    {"Compare the attached device with PROFILE and print each setting that differs\n"
     "('FIELD: expected X, found Y'). A reader that has never been configured\n"
     "differs from every profile. Nothing is written.\n"
     "\n"
     "  PROFILE              a profile file; - for standard input\n"
     "  --json               print {\"command\": \"verify\", \"version\": 1,\n"
     "                       \"matches\": true|false, \"differences\": [...], ...}\n",
     "比较所连接的设备与配置文件，列出每项不同的设置（'字段：应为 X，实际为 Y'）。\n"
     "从未配置过的读卡器与任何配置文件都不同。不写入任何内容。\n"
     "\n"
     "  配置文件             配置文件；- 表示标准输入\n"
     "  --json               输出 {\"command\": \"verify\", \"version\": 1,\n"
     "                       \"matches\": true|false, \"differences\": [...], ...}\n"},
    {"Exit status: 0 the device holds the profile, 1 it differs, 2 error.\n",
     "退出状态：0 设备与配置文件一致，1 不同，2 错误。\n"}};

constexpr CommandHelp BATCH_HELP = {
    {"Usage: {} [OPTION]... batch PROFILE [--count N] [--log FILE.csv] [--parallel]\n",
     "用法：{} [选项]... batch 配置文件 [--count N] [--log 文件.csv] [--parallel]\n"},
    {"Configure every reader as it is plugged in, read each back and compare, and\n"
     "print one progress line per reader ('[n/N] PATH: verified|differs|failed');\n"
     "at the end a summary line ('summary: C configured, F failed, S skipped').\n"
     "A reader attached when batch starts is configured first. Without --parallel\n"
     "batch takes one reader at a time and refuses to start while several are\n"
     "attached. Interrupted (Ctrl+C), it finishes the reader in hand and prints the\n"
     "summary. A profile with keys is refused: apply it to each keypad with 'apply'.\n"
     "\n"
     "  PROFILE              a profile file; - for standard input\n"
     "  --count N            stop after N readers; without it batch runs until\n"
     "                       interrupted\n"
     "  --log FILE.csv       append one CSV row per reader (time, count, result,\n"
     "                       device path, serial number); - for standard output\n"
     "  --parallel           configure every reader attached and plugged in at once,\n"
     "                       each on its own\n"
     "  --json               print one JSON object per reader as it finishes, then a\n"
     "                       summary object, one a line\n",
     "每插入一台读卡器就配置它，读回比较，每台显示一行进度（'[n/N] 路径：校验通过|\n"
     "设置不同|失败'）；最后一行汇总（'汇总：成功 C 台，失败 F 台，跳过 S 台'）。\n"
     "批量设置开始时已连接的读卡器最先配置。不加 --parallel 时一次配置一台，连接了\n"
     "多台时拒绝开始。中断时（Ctrl+C）完成手头的读卡器并显示汇总。带按键的配置文件\n"
     "会被拒绝：请用 'apply' 逐台配置键盘读卡器。\n"
     "\n"
     "  配置文件             配置文件；- 表示标准输入\n"
     "  --count N            配置 N 台后停止；不给时一直运行到被中断\n"
     "  --log 文件.csv       每台追加一行 CSV 记录（时间、序号、结果、设备路径、\n"
     "                       序列号）；- 表示标准输出\n"
     "  --parallel           同时配置所有已连接和新插入的读卡器，各自独立\n"
     "  --json               每台完成时输出一个 JSON 对象，最后输出汇总对象，每行一个\n"},
    {"Exit status: 0 every reader verified, 1 a reader failed or differs, 2 error.\n",
     "退出状态：0 每台都校验通过，1 有读卡器失败或不同，2 错误。\n"}};

constexpr CommandHelp LIST_HELP = {
    {"Usage: {} [OPTION]... list [--json]\n", "用法：{} [选项]... list [--json]\n"},
    {"Print every attached reader and keypad interface: device path, USB interface,\n"
     "serial number as the device reports it, and whether it may be opened (with the\n"
     "reason when access is denied).\n"
     "\n"
     "  --json               print {\"command\": \"list\", \"version\": 1, \"readers\": [...]}\n",
     "列出所有已连接的读卡器和键盘接口：设备路径、USB 接口、设备报告的序列号，以及\n"
     "能否打开（拒绝访问时附原因）。\n"
     "\n"
     "  --json               输出 {\"command\": \"list\", \"version\": 1, \"readers\": [...]}\n"},
    {"Exit status: 0 listed (also when none is attached), 2 error.\n",
     "退出状态：0 已列出（没有设备时也是），2 错误。\n"}};

const CommandHelp* HelpOf(CommandLine::Command command) {
    switch (command) {
        case CommandLine::Command::Read:
            return &READ_HELP;
        case CommandLine::Command::Apply:
            return &APPLY_HELP;
        case CommandLine::Command::Verify:
            return &VERIFY_HELP;
        case CommandLine::Command::Batch:
            return &BATCH_HELP;
        case CommandLine::Command::List:
            return &LIST_HELP;
        case CommandLine::Command::None:
            break;
    }
    return nullptr;
}

}  // namespace

std::string HelpText(const std::string& program, CommandLine::Command command, Language language) {
    const auto say = [&](const Text& t) {
        return Say(language, t, {program, program, program, program, program, program});
    };
    if (const CommandHelp* help = HelpOf(command))
        return say(help->usage) + say(help->description) + "\n" + say(COMMON) + "\n" +
               say(help->exit);
    return say(USAGE) + say(OVERVIEW) + "\n" + say(OPTIONS) + "\n" + say(FILES) + "\n" +
           say(EXIT_STATUS) + "\n" + say(HELP_PLATFORM);
}

}  // namespace cli
