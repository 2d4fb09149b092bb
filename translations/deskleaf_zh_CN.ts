<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>Commands</name>
    <message>
        <source>signal %1</source>
        <translation>信号 %1</translation>
    </message>
    <message>
        <source>failed with exit code %1</source>
        <translation>运行失败（退出码 %1）</translation>
    </message>
    <message>
        <source>crashed (%1)</source>
        <translation>意外崩溃（%1）</translation>
    </message>
</context>
<context>
    <name>Files</name>
    <message>
        <source>the file was never created</source>
        <translation>文件没有创建成功</translation>
    </message>
    <message>
        <source>it is not a regular file</source>
        <translation>它不是普通文件</translation>
    </message>
    <message>
        <source> (the file is read-only)</source>
        <translation>（文件是只读的）</translation>
    </message>
    <message>
        <source>the folder could not be created</source>
        <translation>无法创建文件夹</translation>
    </message>
    <message>
        <source>Could not keep a copy of %1: %2</source>
        <translation>无法备份 %1：%2</translation>
    </message>
    <message>
        <source>Could not remove %1: %2</source>
        <translation>无法删除 %1：%2</translation>
    </message>
    <message>
        <source>Could not put back %1: %2</source>
        <translation>无法恢复 %1：%2</translation>
    </message>
    <message>
        <source>could not open the lock file %1: %2</source>
        <translation>无法打开锁文件 %1：%2</translation>
    </message>
    <message>
        <source>could not lock the lock file %1: %2</source>
        <translation>无法锁定锁文件 %1：%2</translation>
    </message>
</context>
<context>
    <name>Jobs</name>
    <message>
        <source>Could not keep a copy of the picture as %1: %2</source>
        <translation>无法把图片另存为 %1：%2</translation>
    </message>
    <message>
        <source>%1 Putting the old files back failed too:%2</source>
        <translation>%1 恢复原来的文件也失败了：%2</translation>
    </message>
    <message>
        <source>There is no screen to compose a wallpaper for.</source>
        <translation>没有找到显示器，无法制作墙纸。</translation>
    </message>
    <message>
        <source>There is no calendar wallpaper yet: open a picture first.</source>
        <translation>还没有日历墙纸：请先打开一张图片。</translation>
    </message>
    <message>
        <source>The calendar is refreshed at each logon only, not after midnight: %1.</source>
        <translation>日历只在每次登录时更新，过了午夜不会自动换到新的一天：%1。</translation>
    </message>
</context>
<context>
    <name>LogonStart</name>
    <message>
        <source>Could not register the program to start at logon (%1): %2</source>
        <translation>无法设置开机自动运行（%1）：%2</translation>
    </message>
    <message>
        <source>the program&apos;s path holds a control character, which no autostart entry can carry</source>
        <translation>程序所在的路径含有控制字符，无法设为自动运行</translation>
    </message>
    <message>
        <source>%1 does not exist or cannot be run</source>
        <translation>%1 不存在或无法运行</translation>
    </message>
    <message>
        <source>the folder %1 cannot be created: %2</source>
        <translation>无法创建文件夹 %1：%2</translation>
    </message>
    <message>
        <source>Could not stop the program starting at logon: %1: %2</source>
        <translation>无法取消开机自动运行：%1：%2</translation>
    </message>
    <message>
        <source>Could not change the program&apos;s start at logon: %1</source>
        <translation>无法更改开机自动运行：%1</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>
The wallpaper and the settings are unchanged.</source>
        <translation>
墙纸和设置都没有改变。</translation>
    </message>
</context>
<context>
    <name>OfficialDays</name>
    <message>
        <source>not JSON: %1 at byte %2</source>
        <translation>不是有效的 JSON 文件（第 %2 个字节处：%1）</translation>
    </message>
    <message>
        <source>not a JSON object with &quot;year&quot; and &quot;days&quot;</source>
        <translation>缺少 &quot;year&quot; 和 &quot;days&quot; 两项</translation>
    </message>
    <message>
        <source>&quot;year&quot; is missing or not a year such as 2027</source>
        <translation>缺少 &quot;year&quot;，或它不是像 2027 这样的年份</translation>
    </message>
    <message>
        <source>&quot;days&quot; is missing or not a list</source>
        <translation>缺少 &quot;days&quot;，或它不是列表</translation>
    </message>
    <message>
        <source>day %1 of &quot;days&quot;</source>
        <translation>&quot;days&quot; 中的第 %1 天</translation>
    </message>
    <message>
        <source>: &quot;date&quot; is missing or not a date YYYY-MM-DD</source>
        <translation>：缺少 &quot;date&quot;，或它不是 年-月-日 格式的日期</translation>
    </message>
    <message>
        <source>: %1 is outside %2 and the December before</source>
        <translation>：%1 不在 %2 年或前一年的十二月内</translation>
    </message>
    <message>
        <source> (%1): &quot;name&quot; is missing or empty</source>
        <translation>（%1）：缺少 &quot;name&quot; 或它是空的</translation>
    </message>
    <message>
        <source> (%1): &quot;isOffDay&quot; is missing or not true or false</source>
        <translation>（%1）：缺少 &quot;isOffDay&quot;，或它不是 true 或 false</translation>
    </message>
    <message>
        <source>%1 is named twice</source>
        <translation>%1 出现了两次</translation>
    </message>
    <message>
        <source>its &quot;year&quot; is %1</source>
        <translation>它的 &quot;year&quot; 是 %1</translation>
    </message>
    <message>
        <source>could not read %1: %2</source>
        <translation>无法读取 %1：%2</translation>
    </message>
    <message>
        <source>%1 is refused: %2</source>
        <translation>%1 未被采用：%2</translation>
    </message>
    <message>
        <source>~ %1 %2 (was %3)</source>
        <translation>~ %1 %2（原来是 %3）</translation>
    </message>
    <message>
        <source>could not make %1: %2</source>
        <translation>无法创建 %1：%2</translation>
    </message>
    <message>
        <source>could not write %1: %2</source>
        <translation>无法写入 %1：%2</translation>
    </message>
</context>
<context>
    <name>PictureImport</name>
    <message>
        <source>Cannot use %1 as a picture: %2</source>
        <translation>无法把 %1 用作图片：%2</translation>
    </message>
    <message>
        <source>the file is damaged (%1).</source>
        <translation>文件已损坏。</translation>
    </message>
    <message>
        <source>%1 x %2 pixels</source>
        <translation>%1×%2 像素</translation>
    </message>
    <message>
        <source>it claims %1, which %2 %L3 bytes, but the file has only %L4 bytes</source>
        <translation>它声称有 %1，%2 %L3 字节，但文件只有 %L4 字节</translation>
    </message>
    <message>
        <source>its run-length data stops at row %L1 of %L2 rows</source>
        <translation>图片数据在第 %L1 行（共 %L2 行）中断</translation>
    </message>
    <message>
        <source>the header is cut short</source>
        <translation>文件开头不完整</translation>
    </message>
    <message>
        <source>at %1 bits each need</source>
        <translation>按每像素 %1 位计算需要</translation>
    </message>
    <message>
        <source>it ends before the GIF trailer</source>
        <translation>文件在结尾之前就中断了</translation>
    </message>
    <message>
        <source>even at LZW&apos;s best need</source>
        <translation>即使压缩得最好也需要</translation>
    </message>
    <message>
        <source>its picture data stops after %L1 of its %L2 pixels</source>
        <translation>图片数据在第 %L1 个像素（共 %L2 个）后中断</translation>
    </message>
    <message>
        <source>it has an unknown block at byte %L1</source>
        <translation>第 %L1 个字节处有无法识别的内容</translation>
    </message>
    <message>
        <source>even at deflate&apos;s best need</source>
        <translation>即使压缩得最好也需要</translation>
    </message>
    <message>
        <source>need at least</source>
        <translation>至少需要</translation>
    </message>
    <message>
        <source>it claims %1, which need %L2 values, but the file has only %L3</source>
        <translation>它声称有 %1，需要 %L2 个数值，但文件只有 %L3 个</translation>
    </message>
    <message>
        <source>it claims to be %1, which would take %L2 MiB of memory to open; this program opens pictures of up to %L3 MiB.</source>
        <translation>图片大小为 %1，打开它需要 %L2 MB 内存；本程序只能打开不超过 %L3 MB 的图片。</translation>
    </message>
    <message>
        <source>A background of %1 x %2 pixels would take %L3 MiB of memory to open again; this program opens pictures of up to %L4 MiB, %L5 pixels (%6 x %7, for example).</source>
        <translation>%1×%2 像素的背景图再次打开需要 %L3 MB 内存；本程序只能打开不超过 %L4 MB、%L5 像素的图片（例如 %6×%7）。</translation>
    </message>
    <message>
        <source>the file does not exist.</source>
        <translation>文件不存在。</translation>
    </message>
    <message>
        <source>it is a folder.</source>
        <translation>这是一个文件夹。</translation>
    </message>
    <message>
        <source>the file is empty.</source>
        <translation>文件是空的。</translation>
    </message>
    <message>
        <source>it is not a picture in a format this program reads.</source>
        <translation>它不是本程序能打开的图片格式。</translation>
    </message>
    <message>
        <source>it claims to be %1, too large to open.</source>
        <translation>图片大小为 %1，太大了，无法打开。</translation>
    </message>
    <message>
        <source>it claims %1, but only %2 could be read</source>
        <translation>它声称有 %1，但只能读出 %2</translation>
    </message>
</context>
<context>
    <name>Pictures</name>
    <message>
        <source>The picture is %1 pixels wide, narrower than the calendar&apos;s %2: the calendar would not be seen whole.</source>
        <translation>图片只有 %1 像素宽，比日历的 %2 像素还窄：日历会显示不全。</translation>
    </message>
    <message>
        <source>Could not write %1: %2</source>
        <translation>无法写入 %1：%2</translation>
    </message>
    <message>
        <source>scale %1</source>
        <translation>缩放 %1</translation>
    </message>
    <message>
        <source>spanned as one %1x%2 picture</source>
        <translation>合成一张 %1×%2 的图片</translation>
    </message>
    <message>
        <source>primary</source>
        <translation>主显示器</translation>
    </message>
</context>
<context>
    <name>Program</name>
    <message>
        <source>could not find this program&apos;s own file (/proc/self/exe cannot be read and &quot;%1&quot;, the name it was started by, is no file)</source>
        <translation>找不到程序本身的文件（启动时用的名字“%1”不是一个文件）</translation>
    </message>
    <message>
        <source>this program&apos;s own file: %1</source>
        <translation>程序本身的文件：%1</translation>
    </message>
    <message>
        <source>this program&apos;s folder: %1</source>
        <translation>程序的文件夹：%1</translation>
    </message>
</context>
<context>
    <name>RefreshTimer</name>
    <message>
        <source>it could not be started</source>
        <translation>无法启动</translation>
    </message>
    <message>
        <source>it did not finish in time</source>
        <translation>没有及时完成</translation>
    </message>
    <message>
        <source>exit status %1</source>
        <translation>退出码 %1</translation>
    </message>
    <message>
        <source>Could not set up the daily refresh: %1</source>
        <translation>无法设置每天自动更新日历：%1</translation>
    </message>
    <message>
        <source>%1 holds a control character</source>
        <translation>%1 含有控制字符</translation>
    </message>
    <message>
        <source>this system has no daily timer for it</source>
        <translation>本系统没有可用的每日定时服务</translation>
    </message>
    <message>
        <source>the deskleaf command&apos;s path</source>
        <translation>deskleaf 命令的路径</translation>
    </message>
    <message>
        <source>systemd cannot run a program whose path holds %1: %2</source>
        <translation>路径中含有%1的程序无法定时运行：%2</translation>
    </message>
    <message>
        <source>a backslash</source>
        <translation>反斜杠</translation>
    </message>
    <message>
        <source>a quote</source>
        <translation>引号</translation>
    </message>
    <message>
        <source>the program folder&apos;s path</source>
        <translation>程序文件夹的路径</translation>
    </message>
    <message>
        <source>systemctl is not installed</source>
        <translation>本系统没有每日定时服务</translation>
    </message>
    <message>
        <source>no systemd user manager runs (systemctl --user is-system-running: %1)</source>
        <translation>本系统没有运行每日定时服务</translation>
    </message>
    <message>
        <source>the deskleaf command is missing: %1</source>
        <translation>缺少 deskleaf 命令：%1</translation>
    </message>
    <message>
        <source>the folder %1 cannot be created: %2</source>
        <translation>无法创建文件夹 %1：%2</translation>
    </message>
    <message>
        <source>Could not set up the daily refresh: %1 failed: %2</source>
        <translation>无法设置每天自动更新日历：%1 出错：%2</translation>
    </message>
    <message>
        <source>Could not remove the daily refresh: %1 failed: %2</source>
        <translation>无法取消每天自动更新日历：%1 出错：%2</translation>
    </message>
    <message>
        <source>Could not remove the daily refresh: %1: %2</source>
        <translation>无法取消每天自动更新日历：%1：%2</translation>
    </message>
</context>
<context>
    <name>Screens</name>
    <message>
        <source>Could not read the monitors: cannot open the X display %1</source>
        <translation>无法读取显示器：无法连接显示 %1</translation>
    </message>
    <message>
        <source>Could not read the monitors: the X display %1 has no screen %2</source>
        <translation>无法读取显示器：显示 %1 没有第 %2 个屏幕</translation>
    </message>
    <message>
        <source>swaymsg could not be started</source>
        <translation>swaymsg 无法启动</translation>
    </message>
    <message>
        <source>swaymsg did not answer</source>
        <translation>swaymsg 没有回应</translation>
    </message>
    <message>
        <source>ended with exit status %1</source>
        <translation>运行失败（退出码 %1）</translation>
    </message>
    <message>
        <source>Could not read sway&apos;s outputs: %1</source>
        <translation>无法读取 sway 的显示器：%1</translation>
    </message>
    <message>
        <source>the answer is not a list</source>
        <translation>回答的格式不对</translation>
    </message>
    <message>
        <source>Could not read sway&apos;s outputs: %1 has no current mode</source>
        <translation>无法读取 sway 的显示器：%1 没有当前的分辨率</translation>
    </message>
    <message>
        <source>Could not read the monitors: cannot connect to the Wayland display %1</source>
        <translation>无法读取显示器：无法连接桌面 %1</translation>
    </message>
    <message>
        <source>Could not read the monitors: the Wayland display %1 stopped answering</source>
        <translation>无法读取显示器：桌面 %1 不再回应</translation>
    </message>
</context>
<context>
    <name>SettingsFile</name>
    <message>
        <source>Could not save the settings file %1: %2</source>
        <translation>无法保存设置文件 %1：%2</translation>
    </message>
    <message>
        <source>the %1 &quot;%2&quot; holds characters that GBK cannot store</source>
        <translation>%1“%2”含有设置文件无法保存的字符</translation>
    </message>
    <message>
        <source>the %1 &quot;%2&quot; holds an incomplete character</source>
        <translation>%1“%2”含有不完整的字符</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a valid %2 name</source>
        <translation>“%1”不是有效的%2名称</translation>
    </message>
    <message>
        <source>Could not read the settings file %1: %2</source>
        <translation>无法读取设置文件 %1：%2</translation>
    </message>
    <message>
        <source>another program kept it locked for %1 seconds</source>
        <translation>另一个程序占用它已有 %1 秒</translation>
    </message>
    <message>
        <source>&quot;%1=%2&quot; would read back as other text: its GBK bytes are also valid UTF-8</source>
        <translation>“%1=%2”保存后再读出来会变成别的文字</translation>
    </message>
    <message>
        <source>the name %1 is not UTF-8 text, which this program needs for its file and folder names; rename it</source>
        <translation>名称 %1 含有无法识别的字符，请给它改个名字</translation>
    </message>
    <message>
        <source>Another copy of the program kept the folder %1 busy for %2 seconds; nothing was changed.</source>
        <translation>本程序的另一个窗口占用文件夹 %1 已有 %2 秒；没有做任何修改。</translation>
    </message>
    <message>
        <source>Could not work on the folder %1: %2</source>
        <translation>无法使用文件夹 %1：%2</translation>
    </message>
    <message>
        <source>The default settings are missing from the program.</source>
        <translation>程序缺少默认设置。</translation>
    </message>
    <message>
        <source>The default settings shipped with the program are damaged.</source>
        <translation>程序自带的默认设置已损坏。</translation>
    </message>
    <message>
        <source>The default settings shipped with the program cannot be stored as GBK.</source>
        <translation>程序自带的默认设置无法保存。</translation>
    </message>
    <message>
        <source>Could not create the settings folder %1: %2.</source>
        <translation>无法创建设置文件夹 %1：%2。</translation>
    </message>
    <message>
        <source>value</source>
        <translation>文字</translation>
    </message>
    <message>
        <source>key</source>
        <translation>名称</translation>
    </message>
    <message>
        <source>section</source>
        <translation>分节</translation>
    </message>
</context>
<context>
    <name>Wallpaper</name>
    <message>
        <source>no picture was given</source>
        <translation>没有给出图片</translation>
    </message>
    <message>
        <source>Could not set the wallpaper on %1: %2</source>
        <translation>无法在%1上设置墙纸：%2</translation>
    </message>
    <message>
        <source>it takes one picture for all screens</source>
        <translation>它只能给所有显示器用同一张图片</translation>
    </message>
    <message>
        <source>the wallpaper shown before could not be read from %1: %2</source>
        <translation>无法从 %1 读出原来的墙纸：%2</translation>
    </message>
    <message>
        <source>Could not remove the wallpaper on %1: %2</source>
        <translation>无法在%1上去除墙纸：%2</translation>
    </message>
    <message>
        <source>%1 did not finish within %2 seconds</source>
        <translation>%1 在 %2 秒内没有完成</translation>
    </message>
    <message>
        <source>could not create the folder %1, where the wallpaper shown now is kept to be put back</source>
        <translation>无法创建文件夹 %1，原来的墙纸要保存在那里以便恢复</translation>
    </message>
    <message>
        <source>the wallpaper shown now could not be kept in %1 (%2)</source>
        <translation>无法把现在的墙纸保存到 %1（%2）</translation>
    </message>
    <message>
        <source>could not create the folder %1: %2</source>
        <translation>无法创建文件夹 %1：%2</translation>
    </message>
    <message>
        <source>could not copy the picture to %1: %2</source>
        <translation>无法把图片复制到 %1：%2</translation>
    </message>
    <message>
        <source>could not read the picture %1 to hand it over as PNG: %2</source>
        <translation>无法读取图片 %1 来转换格式：%2</translation>
    </message>
    <message>
        <source>could not write the picture to %1: %2</source>
        <translation>无法把图片写入 %1：%2</translation>
    </message>
    <message>
        <source>%1 does not run, so nothing draws the desktop (it is started as %1 --desktop)</source>
        <translation>%1 没有运行，桌面没有程序来显示墙纸（请用 %1 --desktop 启动它）</translation>
    </message>
    <message>
        <source>: it did not finish</source>
        <translation>：它没有完成</translation>
    </message>
    <message>
        <source>%1 --desktop, started again to draw the desktop anew, ended at once</source>
        <translation>为重新显示桌面而再次启动的 %1 --desktop 立刻退出了</translation>
    </message>
    <message>
        <source>could not write %1 (%2)</source>
        <translation>无法写入 %1（%2）</translation>
    </message>
    <message>
        <source>where the monitor &quot;%1&quot; lies is not known, so its pcmanfm settings cannot be found</source>
        <translation>不知道显示器“%1”的位置，找不到它的 pcmanfm 设置</translation>
    </message>
    <message>
        <source>pcmanfm-qt did not take the picture: its desktop (pcmanfm-qt --desktop) does not run</source>
        <translation>pcmanfm-qt 没有接受图片：它的桌面（pcmanfm-qt --desktop）没有运行</translation>
    </message>
    <message>
        <source>could not write %1: %2</source>
        <translation>无法写入 %1：%2</translation>
    </message>
    <message>
        <source>where the monitor &quot;%1&quot; lies was not given, so its desktop in Plasma is not known</source>
        <translation>没有给出显示器“%1”的位置，不知道它在 Plasma 中对应哪个桌面</translation>
    </message>
    <message>
        <source>the Plasma shell&apos;s wallpaper settings could not be read (%1)</source>
        <translation>无法读取 Plasma 的墙纸设置（%1）</translation>
    </message>
    <message>
        <source>the Plasma shell has no desktop to show it on (its script changed %1)</source>
        <translation>Plasma 没有可以显示它的桌面（%1）</translation>
    </message>
    <message>
        <source>neither qdbus nor dbus-send is installed, so the Plasma shell cannot be told what to show</source>
        <translation>没有安装 qdbus 或 dbus-send，无法通知 Plasma 显示什么</translation>
    </message>
    <message>
        <source>there is no monitor named &quot;%1&quot; (xrandr lists %2)</source>
        <translation>没有名为“%1”的显示器（现有：%2）</translation>
    </message>
    <message>
        <source>no picture was given for the monitor &quot;%1&quot;</source>
        <translation>没有给显示器“%1”指定图片</translation>
    </message>
    <message>
        <source>xrandr is not installed, so the monitors cannot be told apart by name</source>
        <translation>没有安装 xrandr，无法按名称区分各个显示器</translation>
    </message>
    <message>
        <source>xrandr lists no monitors</source>
        <translation>xrandr 没有找到任何显示器</translation>
    </message>
    <message>
        <source>xsetroot is not installed, and %1 cannot show a plain colour</source>
        <translation>没有安装 xsetroot，%1 无法显示纯色背景</translation>
    </message>
    <message>
        <source>could not write %1 back (%2)</source>
        <translation>无法写回 %1（%2）</translation>
    </message>
    <message>
        <source>sway has no output named &quot;%1&quot; (it has %2)</source>
        <translation>sway 中没有名为“%1”的显示器（现有：%2）</translation>
    </message>
    <message>
        <source>it cannot read the picture or reach the Wayland compositor</source>
        <translation>它无法读取图片，或无法连接桌面</translation>
    </message>
    <message>
        <source>it cannot reach the Wayland compositor</source>
        <translation>它无法连接桌面</translation>
    </message>
    <message>
        <source>swaybg is not installed</source>
        <translation>没有安装 swaybg</translation>
    </message>
    <message>
        <source>pkill is not installed, so the swaybg started before could not be stopped</source>
        <translation>没有安装 pkill，无法停止之前启动的 swaybg</translation>
    </message>
    <message>
        <source>swaybg could not be started</source>
        <translation>swaybg 无法启动</translation>
    </message>
    <message>
        <source>swaybg ended as soon as it started: %1</source>
        <translation>swaybg 一启动就退出了：%1</translation>
    </message>
    <message>
        <source>pkill could not be started</source>
        <translation>pkill 无法启动</translation>
    </message>
    <message>
        <source>pkill did not finish within %1 seconds</source>
        <translation>pkill 在 %1 秒内没有完成</translation>
    </message>
    <message>
        <source>pkill failed: %1</source>
        <translation>pkill 出错：%1</translation>
    </message>
    <message>
        <source>the new swaybg runs, but the one started before could not be stopped (%1)</source>
        <translation>新的 swaybg 已运行，但之前启动的无法停止（%1）</translation>
    </message>
    <message>
        <source>swaybg runs, but its process id could not be written to %1 (%2), so it may keep running behind the next wallpaper</source>
        <translation>swaybg 已运行，但无法把它的进程号写入 %1（%2），换下一张墙纸时它可能还留在后面运行</translation>
    </message>
    <message>
        <source>the desktop is not one this program knows (XDG_CURRENT_DESKTOP is not set)</source>
        <translation>本程序不认识这个桌面（没有设置 XDG_CURRENT_DESKTOP）</translation>
    </message>
    <message>
        <source>the desktop &quot;%1&quot; is not one this program knows</source>
        <translation>本程序不认识桌面“%1”</translation>
    </message>
    <message>
        <source>this desktop</source>
        <translation>这个桌面</translation>
    </message>
    <message>
        <source>the desktop &quot;%1&quot;</source>
        <translation>桌面“%1”</translation>
    </message>
    <message>
        <source>Xfce&apos;s desktop has not stored a wallpaper yet, and xrandr, which names the monitors it will read it for, is not installed</source>
        <translation>Xfce 桌面还没有保存过墙纸，而且没有安装用来识别显示器的 xrandr</translation>
    </message>
    <message>
        <source>xrandr --listmonitors named no monitor</source>
        <translation>xrandr 没有找到任何显示器</translation>
    </message>
    <message>
        <source>%1 is not installed or could not be started</source>
        <translation>没有安装 %1，或它无法启动</translation>
    </message>
    <message>
        <source>%1 failed: %2</source>
        <translation>%1 出错：%2</translation>
    </message>
    <message>
        <source>Could not set the wallpaper: %1, and neither feh nor xwallpaper is installed</source>
        <translation>无法设置墙纸：%1，而且没有安装 feh 或 xwallpaper</translation>
    </message>
    <message>
        <source>Could not remove the wallpaper: %1, and neither feh nor xwallpaper is installed</source>
        <translation>无法去除墙纸：%1，而且没有安装 feh 或 xwallpaper</translation>
    </message>
</context>
<context>
    <name>deskleaf</name>
    <message>
        <source>unknown command &quot;%1&quot;</source>
        <translation>没有“%1”这个命令</translation>
    </message>
    <message>
        <source>unknown option &quot;%1&quot;</source>
        <translation>没有“%1”这个选项</translation>
    </message>
    <message>
        <source>%1 needs a value</source>
        <translation>%1 后面要跟一个值</translation>
    </message>
    <message>
        <source>too few arguments</source>
        <translation>缺少参数</translation>
    </message>
    <message>
        <source>unexpected &quot;%1&quot;</source>
        <translation>多余的参数“%1”</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a date: write an existing day as YYYY-MM-DD</source>
        <translation>“%1”不是日期：请按 年-月-日 写一个存在的日子，例如 2026-09-25</translation>
    </message>
    <message>
        <source>could not write the output</source>
        <translation>无法输出结果</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a day of the year (MM-DD)</source>
        <translation>“%1”不是一年中的日子（月-日，例如 03-07）</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a lunar month and day (MM-DD, months 01-12, days 01-30)</source>
        <translation>“%1”不是农历的月和日（月-日，月为 01 到 12，日为 01 到 30）</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a colour (#RRGGBB, a colour integer or default)</source>
        <translation>“%1”不是颜色（请写 #RRGGBB 形式的颜色、颜色数值或 default）</translation>
    </message>
    <message>
        <source>refused %1</source>
        <translation>未采用 %1</translation>
    </message>
    <message>
        <source>refused %1; the shipped file serves</source>
        <translation>未采用 %1；改用程序自带的文件</translation>
    </message>
    <message>
        <source>no file covers %1, so its days are not marked; when the State Council&apos;s notice is out, add it with &quot;deskleaf holidays import FILE&quot; (it goes to %2)</source>
        <translation>缺少 %1 年的节假日安排，这些日子不标“休”“班”；国务院公布后，用 deskleaf holidays import 文件 导入（会存到 %2）</translation>
    </message>
    <message>
        <source>--delete takes no text and no --replace</source>
        <translation>--delete 后面不能跟文字或 --replace</translation>
    </message>
    <message>
        <source>which text? (--delete removes one)</source>
        <translation>缺少文字（要删除请用 --delete）</translation>
    </message>
    <message>
        <source>the text is empty (--delete removes one)</source>
        <translation>文字是空的（要删除请用 --delete）</translation>
    </message>
    <message>
        <source>lunar %1 has a text already; --replace replaces it</source>
        <translation>农历 %1 已经有文字了；要替换请加 --replace</translation>
    </message>
    <message>
        <source>%1 has a text already; --replace replaces it</source>
        <translation>%1 已经有文字了；要替换请加 --replace</translation>
    </message>
    <message>
        <source>&quot;%1&quot;: monday or sunday</source>
        <translation>“%1”：只能是 monday（周一）或 sunday（周日）</translation>
    </message>
    <message>
        <source>&quot;%1&quot;: on, off or status</source>
        <translation>“%1”：只能是 on（开）、off（关）或 status（查看）</translation>
    </message>
    <message>
        <source>auto-run starts Tidemark at logon, and there is no Tidemark beside this command: %1 does not exist or cannot be run</source>
        <translation>自动运行要在登录时启动 Tidemark，但这个命令旁边没有 Tidemark：%1 不存在或无法运行</translation>
    </message>
    <message>
        <source>no day changed</source>
        <translation>没有日子改变</translation>
    </message>
    <message>
        <source>&quot;%1&quot;: import FILE or marks on|off</source>
        <translation>“%1”：只能是 import 文件，或 marks on|off</translation>
    </message>
    <message>
        <source>--today &quot;%1&quot; is not a date (YYYY-MM-DD)</source>
        <translation>--today “%1”不是日期（年-月-日）</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a month (YYYY-MM)</source>
        <translation>“%1”不是月份（年-月，例如 2026-09）</translation>
    </message>
    <message>
        <source>--folder is needed</source>
        <translation>需要用 --folder 指定文件夹</translation>
    </message>
    <message>
        <source>--size &quot;%1&quot; is not WxH with sides of 1 to %2 pixels</source>
        <translation>--size “%1”不是“宽×高”形式的大小（每边 1 到 %2 像素）</translation>
    </message>
    <message>
        <source>--scale &quot;%1&quot; is not a scale factor from 0.5 to 8, such as 1.5</source>
        <translation>--scale “%1”不是 0.5 到 8 之间的缩放倍数（例如 1.5）</translation>
    </message>
    <message>
        <source>--fit &quot;%1&quot; is not stretch, fill or fit</source>
        <translation>--fit “%1”只能是 stretch（拉伸）、fill（填充）或 fit（适应）</translation>
    </message>
    <message>
        <source>%1 is not a folder</source>
        <translation>%1 不是文件夹</translation>
    </message>
    <message>
        <source>composed for %1</source>
        <translation>已为这些显示器制作：%1</translation>
    </message>
    <message>
        <source>auto-run is off: nothing to do</source>
        <translation>自动运行没有打开：不用做什么</translation>
    </message>
    <message>
        <source>today&apos;s wallpaper was made already</source>
        <translation>今天的墙纸已经做好了</translation>
    </message>
    <message>
        <source>one line per day from FROM to TO (YYYY-MM-DD), tab-separated:
date, weekday (1 = Sunday), lunar year, month, day, leap (0|1),
solar term, lunar festival, weekday festival, lunar day text,
休 (day off), 班 (make-up working day) or empty, the holiday&apos;s name</source>
        <translation>从 FROM 到 TO（年-月-日）每天一行，各项用制表符隔开：
日期、星期（1 = 星期日）、农历年、月、日、是否闰月（0|1）、
节气、农历节日、按星期算的节日、农历日的写法、
休（放假）、班（调休上班）或空、节假日名称</translation>
    </message>
    <message>
        <source>the calendar&apos;s texts for a month: 37 day cells (a marked cell&apos;s 休 or 班
in a third column), then the header and today&apos;s line, with the
reminders of DIR/kel.ini</source>
        <translation>一个月的日历文字：37 个日子格（标了休或班的在第三列），
然后是标题和今天那一行，带上 DIR/kel.ini 中的提示</translation>
    </message>
    <message>
        <source>composes today&apos;s wallpaper in DIR for every monitor, or one of WxH:
from FILE (kept in DIR, fitted to each monitor by --fit, which is
stored), or again from the kept picture; the calendar goes on the
primary monitor, drawn at --scale (default: the monitor&apos;s); prints
the path of the primary&apos;s zm.bmp and the monitors composed for</source>
        <translation>在 DIR 中为每个显示器（或一个 WxH 大小的屏幕）制作今天的墙纸：
用图片 FILE（保存在 DIR 中，按 --fit 铺到每个显示器，并记住这个选择），
或再用保存的图片；日历画在主显示器上，按 --scale 缩放
（默认按显示器的缩放）；输出主显示器 zm.bmp 的路径和制作了哪些显示器</translation>
    </message>
    <message>
        <source>the logon start&apos;s job: when auto-run is on and it was not done today,
today&apos;s calendar on DIR/kel.bmp becomes the desktop wallpaper</source>
        <translation>登录时自动做的事：打开了自动运行且今天还没做过时，
把今天的日历印在 DIR/kel.bmp 上，设为桌面墙纸</translation>
    </message>
    <message>
        <source>composes today&apos;s wallpaper for the monitors and sets it</source>
        <translation>为各个显示器制作今天的墙纸并设为桌面墙纸</translation>
    </message>
    <message>
        <source>puts back the wallpaper the desktop had before, or a plain colour</source>
        <translation>恢复桌面原来的墙纸，没有记录时用纯色</translation>
    </message>
    <message>
        <source>stores the calendar&apos;s colour: #RRGGBB, a colour integer or default</source>
        <translation>保存日历的颜色：#RRGGBB、颜色数值或 default（默认）</translation>
    </message>
    <message>
        <source>stores, replaces (--replace) or deletes the reminder of a day of every year
(--lunar: of a lunar month and day, every lunar year)</source>
        <translation>保存、替换（--replace）或删除每年某一天的提示
（--lunar：按农历的月和日，每个农历年）</translation>
    </message>
    <message>
        <source>prints the stored reminders in date order: MM-DD, a tab, the text;
then the lunar ones: &quot;lunar MM-DD&quot;, a tab, the text</source>
        <translation>按日期顺序列出保存的提示：月-日、制表符、文字；
然后是农历的：&quot;lunar 月-日&quot;、制表符、文字</translation>
    </message>
    <message>
        <source>ticks or clears auto-run: the start at logon and the daily refresh</source>
        <translation>打开或关闭自动运行：登录时启动和每天自动更新</translation>
    </message>
    <message>
        <source>prints or stores the week&apos;s first day: monday (the default) or sunday</source>
        <translation>显示或保存每周的第一天：monday（周一，默认）或 sunday（周日）</translation>
    </message>
    <message>
        <source>lists the years of official days off and make-up working days and
where each file comes from; import adds a year&apos;s file of your own</source>
        <translation>列出有放假和调休安排的年份及每个文件的来源；
import 导入你自己的某一年的文件</translation>
    </message>
    <message>
        <source>DIR is the program&apos;s folder unless --folder is given. Each command takes --help;
deskleaf --version prints the version.
Exit status: 0 done, 1 refused or failed, 2 bad usage.
</source>
        <translation>DIR 是程序所在的文件夹，用 --folder 可以指定别的文件夹。每个命令都可以加 --help；
deskleaf --version 显示版本。
退出码：0 完成，1 被拒绝或失败，2 用法不对。
</translation>
    </message>
    <message>
        <source>works on DIR&apos;s kel.ini and pictures, not the program&apos;s folder</source>
        <translation>使用 DIR 里的 kel.ini 和图片，而不是程序所在的文件夹</translation>
    </message>
    <message>
        <source>takes that day for today</source>
        <translation>把那一天当作今天</translation>
    </message>
    <message>
        <source>the folder to compose in (needed)</source>
        <translation>在哪个文件夹里合成（必须给出）</translation>
    </message>
    <message>
        <source>the picture to compose from, kept in DIR</source>
        <translation>用来合成的图片，会保存在 DIR 里</translation>
    </message>
    <message>
        <source>one picture of that size instead of one per monitor</source>
        <translation>只合成一张这个大小的图片，不再每台显示器一张</translation>
    </message>
    <message>
        <source>draws the calendar at F, from 0.5 to 8</source>
        <translation>按 F 倍的大小画月历，从 0.5 到 8</translation>
    </message>
    <message>
        <source>how the picture fits each monitor; stored in DIR</source>
        <translation>图片怎样放进每台显示器；会记在 DIR 里</translation>
    </message>
    <message>
        <source>Sets DIR/zm.bmp as the desktop wallpaper now.</source>
        <translation>现在就把 DIR/zm.bmp 设为桌面墙纸。</translation>
    </message>
    <message>
        <source>Removes the desktop wallpaper.</source>
        <translation>去掉桌面墙纸。</translation>
    </message>
    <message>
        <source>Stores the calendar&apos;s colour in DIR/kel.ini: #RRGGBB, a colour integer as kel.ini
keeps it (0x00BBGGRR in decimal, or a system colour such as -2147483643), or the
default. Pure red is today&apos;s colour and is refused. The next render prints with it.</source>
        <translation>把月历的颜色存进 DIR/kel.ini：#RRGGBB，kel.ini 里那样的颜色整数
（十进制的 0x00BBGGRR，或系统颜色，例如 -2147483643），或 default（默认颜色）。
纯红是今天的颜色，不能用。下一次 render 就用这个颜色。</translation>
    </message>
    <message>
        <source>Stores TEXT as the reminder of that day of every year, shown on the day when it has
no lunar festival. A day&apos;s text is replaced only with --replace: without it the
stored text is printed and nothing changes. --delete removes the day&apos;s text.
With --lunar, MM-DD is a lunar month and day (01-12, 01-30), shown every lunar year:
in the regular month MM, never in a leap month of that number; day 30 in a month of
29 days shows on its 29th. A day with both kinds shows the month-day text first.</source>
        <translation>把 TEXT 存为每年这一天的提示，在那天没有农历节日时显示。已有提示的日子，
只有加上 --replace 才会替换：不加就显示已存的文字，什么也不改。--delete 删除这一天的文字。
加上 --lunar 时，MM-DD 是农历的月和日（01-12，01-30），每个农历年都显示：
在平常的 MM 月，不在同一个数的闰月；小月（29 天）里的三十显示在廿九那天。
同一天两种提示都有时，先显示公历日期的那条。</translation>
    </message>
    <message>
        <source>replaces the day&apos;s stored text</source>
        <translation>替换这一天已存的文字</translation>
    </message>
    <message>
        <source>deletes the day&apos;s text</source>
        <translation>删除这一天的文字</translation>
    </message>
    <message>
        <source>MM-DD is a lunar month and day</source>
        <translation>MM-DD 是农历的月和日</translation>
    </message>
    <message>
        <source>Prints the stored reminders in date order, one per line: MM-DD, a tab, the text;
then the lunar ones in lunar order: &quot;lunar MM-DD&quot;, a tab, the text.</source>
        <translation>按日期顺序列出保存的提示，每行一条：MM-DD、制表符、文字；
然后按农历顺序列出农历的提示：&quot;lunar MM-DD&quot;、制表符、文字。</translation>
    </message>
    <message>
        <source>Ticks or clears the main window&apos;s auto-run box: the start at logon and, where a
systemd user manager runs, the daily refresh just after midnight. status prints
the stored flag and both registrations.</source>
        <translation>勾选或取消主窗口的自动运行：登录时启动，以及（在有用户服务管理器的系统上）
每天午夜刚过时的更新。status 显示存着的设置和两处登记。</translation>
    </message>
    <message>
        <source>Stores the week&apos;s first day of the calendar, on the wallpaper and in the date
picker: monday (the default) or sunday. Without a word, prints the stored one.</source>
        <translation>设定月历每周的第一天，墙纸上和选日期的窗口里都用它：monday（默认）或 sunday。
不给出时，显示存着的那一天。</translation>
    </message>
    <message>
        <source>Prints, one a line, each year whose official days off (休) and make-up working
days (班) the calendar marks, a tab, shipped or yours, a tab, the file; stderr says
the year today&apos;s calendar lacks. import checks FILE, a year&apos;s notice as JSON
({&quot;year&quot;: YYYY, &quot;days&quot;: [{&quot;name&quot;, &quot;date&quot;, &quot;isOffDay&quot;}]}: dates in YYYY or
the December before, each once, names given), makes it your file for that year,
which serves instead of the shipped one, and prints the days it changed. marks
turns the calendar&apos;s marks on or off.</source>
        <translation>每行一个年份：月历标出了这一年的法定放假（休）和调休上班（班）的日子；
一个制表符，&quot;shipped&quot;（随程序提供）或 &quot;yours&quot;（你自己的），一个制表符，文件；
如果今天的月历缺了哪一年，会另外说明。import 检查 FILE：一年的放假通知，JSON 格式
（{&quot;year&quot;: YYYY, &quot;days&quot;: [{&quot;name&quot;, &quot;date&quot;, &quot;isOffDay&quot;}]}：日期在 YYYY 年或前一年的十二月，
每天只出现一次，都有名称），把它作为你自己的那一年的文件，代替随程序提供的那份，
并显示它改变了哪些日子。marks 打开或关闭月历上的休、班标记。</translation>
    </message>
    <message>
        <source>prints this help</source>
        <translation>显示这份说明</translation>
    </message>
    <message>
        <source>options:</source>
        <translation>选项：</translation>
    </message>
    <message>
        <source>usage: </source>
        <translation>用法：</translation>
    </message>
</context>
</TS>
