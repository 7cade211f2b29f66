#!/usr/bin/env python3
"""Writes the demo code table Tide-sample.txt (UTF-16 LE with BOM, CR LF).

Our own small scheme for trying the program: a character's code is its
pinyin without tones; a phrase's code follows the library's default phrase
rules (two letters of each of two characters; the first letter of the first
two characters and two of the third; the first letter of the first three
characters and of the last), taken from the code the compiler keeps for each
character (its longest code; the last of equal length).
"""
import pathlib

CHARACTERS = """
a啊 ai爱 an安 ba八 ba把 bai白 ban版 bao报 bei北 bei被 ben本 bi比 bian边 bian便 biao表 bie别
bing并 bu不 bu部 cai才 cao草 ce测 cha茶 chan产 chang长 chang常 chang场 chao潮 che车 cheng成
chi吃 chu出 chu处 chun春 ci词 ci次 ci此 cong从 cun存 da大 da打 dai代 dan但 dang当 dao到 dao道
de的 de得 deng等 di地 di第 dian点 dian电 ding定 dong东 dong冬 dong动 dou都 dui对 duo多 er二
er儿 er而 fa发 fa法 fan饭 fan反 fang方 fang放 fen分 feng风 fu服 fu肤 gan感 gan干 gao高 ge个
ge各 gei给 geng更 gong工 gong公 gong共 gou狗 guan关 guang光 guo国 guo过 guo果 hai还 hai海
han汉 hao好 he和 he合 he何 he喝 he河 hen很 hou后 hou候 hu湖 hua话 hua化 hua华 hua花 huan欢
huan还 hui会 hui回 huo活 huo或 ji机 ji几 ji记 ji己 ji计 ji及 jia家 jia加 jian见 jian间 jian件
jian键 jiang将 jiang江 jiao叫 jiao教 jiao觉 jie接 jie界 jie结 jie解 jin今 jin金 jin进 jing经
jing京 jiu就 jiu九 jue觉 jun军 kai开 kan看 ke可 ke客 kou口 ku库 kuai快 lai来 lao老 le了 le乐
li里 li理 li力 li利 li立 liang两 liang亮 lin林 lu路 ma马 ma码 mao猫 mao毛 me么 mei没 mei美
men们 men门 mian面 min民 ming明 ming名 ming命 mu木 mu目 na那 nan难 nao脑 nei内 neng能 ni你
nian年 niao鸟 nv女 pan盘 peng朋 pi皮 pin拼 ping平 ping苹 qi起 qi其 qi气 qi期 qian前 qin亲
qing情 qing清 qiu秋 qu去 quan全 ran然 ren人 ren任 ri日 ru如 ru入 san三 shan山 shang上 shao少
shen什 shen身 shen神 sheng生 sheng声 shi是 shi时 shi事 shi十 shi实 shi使 shi世 shi市 shi师
shi始 shi设 shou手 shou受 shu书 shu数 shu输 shui水 shui睡 shuo说 si四 si死 si司 suo所 ta他
ta她 ta它 tai太 tai台 tian天 ting听 tong同 tong通 tou头 wai外 wan万 wan晚 wang王 wang望 wei为
wei位 wen文 wen问 wo我 wu无 wu五 wu务 wu物 xi西 xi汐 xi喜 xi系 xi习 xia下 xia夏 xian现 xian先
xiang想 xiang相 xiang向 xiang象 xiao小 xiao笑 xiao校 xie些 xie谢 xin心 xin新 xin信 xing行
xing性 xing星 xuan选 xue学 xue雪 yan言 yan眼 yang样 yao要 ye也 ye业 yi一 yi以 yi已 yi意 yin因
yin音 ying应 yong用 you有 you又 you由 you友 yu于 yu与 yu语 yu雨 yu鱼 yuan原 yuan员 yue月 yun云
zai在 zai再 zao早 zen怎 zhan战 zhang张 zhang章 zhe这 zhe着 zhe者 zhen真 zheng正 zheng政 zhi之
zhi只 zhi知 zhi直 zhi至 zhi制 zhi置 zhong中 zhong种 zhong重 zhu主 zhu住 zi子 zi自 zi字 zou走
zui最 zuo作 zuo做 zuo昨 li丽 yi异 xiu秀 ti题
"""

PHRASES = """
中国 我们 你们 他们 她们 时间 问题 学生 学习 工作 生活 朋友 快乐 电脑 键盘 输入 输入法 词库
拼音 汉字 汉语 语言 谢谢 再见 早上 晚上 今天 明天 昨天 现在 以后 以前 因为 所以 但是 可以 没有
什么 怎么 知道 觉得 喜欢 东西 北京 上海 中文 文字 国家 人民 大家 自己 这个 那个 一个 一些 已经
开始 发现 出来 起来 下来 进来 回来 天气 下雨 春天 夏天 秋天 冬天 月亮 星星 白云 花草 小鸟 小猫
小狗 吃饭 喝茶 睡觉 电话 手机 更新 版本 皮肤 设置 候选 潮汐 潮水 海水 山水 水果 苹果 老师 同学
学校 大学 中学 小学 文章 生日 新年 你好 好的 没关系 不客气 谢谢你 我爱你 中华人民共和国 全心全意
一心一意 自由自在 江河湖海 山清水秀 风和日丽 春夏秋冬 日新月异 一路平安 万事如意 心想事成
"""

HEADER = [
    ("Name", "潮汐示例词库"),
    ("Version", "1.0"),
    ("Author", "潮汐输入法开发组"),
    ("CodeScheme", "全拼示例(仅供试用)"),
    ("CodeLength", "6"),
    ("BWCodeLength", "0"),
    ("SpecialPrefix", "0"),
    ("WildChar", "z"),
    ("PhraseRule", "1"),
]

# The default rules: (character number from the start, or negative from the
# end, code-letter number) per element.
RULES = {
    2: [(1, 1), (1, 2), (2, 1), (2, 2)],
    3: [(1, 1), (2, 1), (3, 1), (3, 2)],
    4: [(1, 1), (2, 1), (3, 1), (-1, 1)],
}


def character_codes(entries):
    """The code the compiler keeps per character: longest, then last."""
    kept = {}
    for code, char in entries:
        if char not in kept or len(code) >= len(kept[char]):
            kept[char] = code
    return kept


def phrase_code(phrase, kept):
    rule = RULES[min(len(phrase), 4)]
    code = ""
    for char_number, letter in rule:
        char = phrase[char_number - 1] if char_number > 0 else phrase[char_number]
        letters = kept[char]
        if letter > len(letters):
            break
        code += letters[letter - 1]
    return code


def main():
    entries = []
    for item in CHARACTERS.split():
        split = next(i for i, c in enumerate(item) if not c.isascii())
        entries.append((item[:split], item[split:]))
    kept = character_codes(entries)
    lines = ["[CODETABLEHEADER]"] + [f"{key}={value}" for key, value in HEADER]
    lines.append("[CODETABLE]")
    lines += [f"{code}\t{char}" for code, char in entries]
    for phrase in PHRASES.split():
        missing = [c for c in phrase if c not in kept]
        if missing:
            raise SystemExit(f"{phrase}: no code for {''.join(missing)}")
        lines.append(f"{phrase_code(phrase, kept)}\t{phrase}")
    target = pathlib.Path(__file__).with_name("Tide-sample.txt")
    target.write_bytes(("\ufeff" + "\r\n".join(lines) + "\r\n").encode("utf-16-le"))
    print(f"{target}: {len(entries)} characters, {len(PHRASES.split())} phrases")


if __name__ == "__main__":
    main()
