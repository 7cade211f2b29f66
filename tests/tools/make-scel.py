#!/usr/bin/env python3
"""Writes a cell dictionary (.scel) from the format's layout, for the tests.

    make-scel.py sample OUT [--groups N] [--seed S] [--deleted]
        N groups (default 300) of made-up words: one to six words a group
        sharing a pinyin of one to four syllables, extension bytes of
        several lengths, now and then a character outside the BMP, a group
        whose words end with a NUL, or an empty group.
    make-scel.py words OUT [--deleted] <LIST
        the words of LIST (UTF-8, a word a line, or "pin'yin word"); a word
        without pinyin gets one made up from its characters. Words of the same
        pinyin form one group, in the order the pinyin first comes.

The words go to stdout as the file holds them, a line each with its pinyin
("word TAB pin'yin"), for the caller to compare with what a reader makes of
the file.

Layout (little-endian):
    0x000  magic 40 15 00 00 44 43 53 01 01 00 00 00
    0x130  name, UTF-16, NUL-padded up to 0x338
    0x338  category, up to 0x540
    0x540  description, up to 0xD40
    0xD40  example words, up to 0x1540
    0x1540 pinyin table: u32 count (413), then per syllable u16 index,
           u16 byte length, the syllable in UTF-16 (a..zuo, ending at 0x2628)
    0x2628 groups: u16 words, u16 byte length of the pinyin indexes, the
           indexes (u16 each), then per word u16 byte length, the word in
           UTF-16, u16 byte length of its extension, the extension (a u16
           frequency first)
    then, optionally, "DELTBL" in UTF-16, u16 count, and per deleted word
    u16 length in characters and the word in UTF-16.
"""
import argparse
import random
import struct
import sys

MAGIC = bytes([0x40, 0x15, 0x00, 0x00, 0x44, 0x43, 0x53, 0x01, 0x01, 0x00, 0x00, 0x00])
PINYIN_TABLE = 0x1540
WORDS = 0x2628
FIELDS = ((0x130, 0x338), (0x338, 0x540), (0x540, 0xD40), (0xD40, 0x1540))

SYLLABLES = """
a ai an ang ao ba bai ban bang bao bei ben beng bi bian biao bie bin bing bo bu
ca cai can cang cao ce cen ceng cha chai chan chang chao che chen cheng chi chong
chou chu chua chuai chuan chuang chui chun chuo ci cong cou cu cuan cui cun cuo
da dai dan dang dao de dei den deng di dia dian diao die ding diu dong dou du duan
dui dun duo e ei en eng er fa fan fang fei fen feng fiao fo fou fu ga gai gan gang
gao ge gei gen geng gong gou gu gua guai guan guang gui gun guo ha hai han hang hao
he hei hen heng hong hou hu hua huai huan huang hui hun huo ji jia jian jiang jiao
jie jin jing jiong jiu ju juan jue jun ka kai kan kang kao ke kei ken keng kong kou
ku kua kuai kuan kuang kui kun kuo la lai lan lang lao le lei leng li lia lian liang
liao lie lin ling liu lo long lou lu luan lue lun luo lv ma mai man mang mao me mei
men meng mi mian miao mie min ming miu mo mou mu na nai nan nang nao ne nei nen neng
ni nian niang niao nie nin ning niu nong nou nu nuan nue nun nuo nv o ou pa pai pan
pang pao pei pen peng pi pian piao pie pin ping po pou pu qi qia qian qiang qiao qie
qin qing qiong qiu qu quan que qun ran rang rao re ren reng ri rong rou ru rua ruan
rui run ruo sa sai san sang sao se sen seng sha shai shan shang shao she shei shen
sheng shi shou shu shua shuai shuan shuang shui shun shuo si song sou su suan sui
sun suo ta tai tan tang tao te tei teng ti tian tiao tie ting tong tou tu tuan tui
tun tuo wa wai wan wang wei wen weng wo wu xi xia xian xiang xiao xie xin xing xiong
xiu xu xuan xue xun ya yan yang yao ye yi yin ying yo yong you yu yuan yue yun za
zai zan zang zao ze zei zen zeng zha zhai zhan zhang zhao zhe zhei zhen zheng zhi
zhong zhou zhu zhua zhuai zhuan zhuang zhui zhun zhuo zi zong zou zu zuan zui zun zuo
""".split()
INDEX = {syllable: index for index, syllable in enumerate(SYLLABLES)}


def utf16(text):
    return text.encode("utf-16-le")


def u16(value):
    return struct.pack("<H", value)


def header(name):
    out = bytearray(WORDS)
    out[: len(MAGIC)] = MAGIC
    texts = (name, "测试", "由 make-scel.py 写成", "你好 输入法")
    for (start, end), text in zip(FIELDS, texts):
        data = utf16(text)[: end - start - 2]
        out[start : start + len(data)] = data
    table = bytearray(struct.pack("<I", len(SYLLABLES)))
    for index, syllable in enumerate(SYLLABLES):
        table += u16(index) + u16(len(utf16(syllable))) + utf16(syllable)
    if PINYIN_TABLE + len(table) != WORDS:
        sys.exit(f"the pinyin table ends at {PINYIN_TABLE + len(table):#x}, not {WORDS:#x}")
    out[PINYIN_TABLE:WORDS] = table
    return out


def group(pinyin, words, extensions, padded=False):
    """A group; with `padded`, each word's text ends with a NUL, which readers drop."""
    out = bytearray(u16(len(words)) + u16(2 * len(pinyin)))
    for syllable in pinyin:
        out += u16(INDEX[syllable])
    for word, extension in zip(words, extensions):
        text = utf16(word + ("\0" if padded else ""))
        out += u16(len(text)) + text + u16(len(extension)) + extension
    return out


def deleted_table(words):
    out = bytearray(utf16("DELTBL") + u16(len(words)))
    for word in words:
        out += u16(len(utf16(word)) // 2) + utf16(word)
    return out


def made_up_pinyin(word):
    return [SYLLABLES[ord(c) % len(SYLLABLES)] for c in word]


def sample_groups(count, rng):
    common = [chr(c) for c in range(0x4E00, 0x9FA6)]
    rare = ["𠀀", "𪚥", "𠮷"]
    for _ in range(count):
        length = rng.randint(1, 4)
        pinyin = [rng.choice(SYLLABLES) for _ in range(length)]
        words = []
        size = rng.randint(1, 6)
        while len(words) < size:
            word = "".join(rng.choice(rare if rng.random() < 0.02 else common)
                           for _ in range(length))
            if word not in words:
                words.append(word)
        yield pinyin, words


def extension(rng, frequency):
    # Mostly the usual ten bytes; now and then none or more.
    size = rng.choice((10, 10, 10, 10, 0, 2, 14))
    data = struct.pack("<H", frequency % 65536) + bytes(rng.randrange(256) for _ in range(12))
    return data[:size]


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("mode", choices=("sample", "words"))
    parser.add_argument("out")
    parser.add_argument("--groups", type=int, default=300)
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--deleted", action="store_true", help="end with a DELTBL table")
    parser.add_argument("--name", default="测试细胞词库")
    args = parser.parse_args()
    rng = random.Random(args.seed)

    if args.mode == "sample":
        groups = list(sample_groups(args.groups, rng))
    else:
        by_pinyin = {}
        for line in sys.stdin.read().splitlines():
            fields = line.split()
            if not fields:
                continue
            word = fields[-1]
            pinyin = fields[0].split("'") if len(fields) > 1 else made_up_pinyin(word)
            by_pinyin.setdefault(tuple(pinyin), []).append(word)
        groups = list(by_pinyin.items())

    out = header(args.name)
    listed = []
    for pinyin, words in groups:
        # Readers take a group of more than 128 words for damage.
        for start in range(0, len(words), 128):
            part = words[start : start + 128]
            extensions = [extension(rng, len(listed) + i) for i in range(len(part))]
            # Made-up groups: now and then words padded with a NUL, or an
            # empty group after them.
            odd = args.mode == "sample" and rng.random() < 0.04
            out += group(pinyin, part, extensions, padded=odd and rng.random() < 0.5)
            if odd:
                out += group([], [], [])
            listed += [word + "\t" + "'".join(pinyin) for word in part]
    if args.deleted:
        out += deleted_table(["删除词", "旧词语"])
    with open(args.out, "wb") as file:
        file.write(out)
    sys.stdout.write("".join(line + "\n" for line in listed))


if __name__ == "__main__":
    main()
