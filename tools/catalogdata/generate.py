#!/usr/bin/env python3
"""Writes the eleven compiled-in catalogue tables into catalog/data/.

Every title and identifier is invented: the titles come from a small word grammar of a
detective-flavoured fan series, the identifiers are random values of the forms the players
and picture hosts expect. A fixed seed makes every run write the same bytes.

Each table is a numbered list: GBK bytes, lines "n-value" joined by CR LF, no CR LF after
the last line. Usage: generate.py [output folder] (default: catalog/data of this repository).
"""

import random
import re
import sys
from pathlib import Path

SEED = 20130415
MANDARIN_EPISODES = 775
JAPANESE_EPISODES = 773
MOVIES = 18
TENCENT_ROWS = 14

TOWNS = [
    "雾港", "青岚町", "白鹭湾", "枫桥镇", "北川", "星见台", "铃兰坂", "海猫岛", "月影湖", "银杏坂",
    "赤松岭", "南风港", "苍木村", "鸣沙滩", "红叶谷", "雪见原", "樱川", "琉璃町", "黑潮岬", "青石桥",
    "风见丘", "落霞湾", "碧水镇", "栖凤山", "云雀岛", "松涛町", "白桦林", "紫藤街",
]
SITES = [
    "钟楼", "旧书店", "水族馆", "天文台", "摩天轮", "温泉旅馆", "图书馆", "美术馆", "灯塔", "洋馆",
    "山庄", "剧场", "游乐园", "博物馆", "古董店", "咖啡馆", "医院", "小学", "体育馆", "电视台",
    "酒店", "港口仓库", "地铁站", "植物园", "邮局", "别墅", "蛋糕店", "花店", "照相馆", "钢琴教室",
    "录音棚", "赛马场", "滑雪场", "露营地", "旧校舍", "钓鱼场", "瞭望台", "大桥", "隧道", "公寓",
    "画廊", "拉面店", "夜行列车", "渡轮", "缆车", "商店街", "老宅", "礼堂", "地下室",
]
OBJECTS = [
    "怀表", "蓝宝石", "钢琴", "玻璃鞋", "钥匙", "面具", "信封", "人偶", "油画", "风铃",
    "日记", "照片", "乐谱", "旧地图", "纸鹤", "雨伞", "手套", "戒指", "项链", "望远镜", "八音盒",
    "棋盘", "扑克牌", "录音带", "明信片", "口红", "香水", "围巾", "茶杯", "蜡烛", "沙漏", "钢笔",
    "贝壳", "羽毛", "银币", "邮票", "风筝", "雪人", "稻草人", "提灯", "木偶", "摇椅", "指南针",
    "铜镜", "王冠", "琴弦", "骰子", "留声机", "魔方", "纽扣", "书签", "领带夹", "鸟笼", "花瓶",
    "座钟", "旧相册", "船票", "火柴盒", "万花筒",
]
EVENTS = [
    "事件", "密室事件", "失踪事件", "绑架事件", "杀人事件", "谜案", "盗窃案", "疑案", "恐吓事件",
    "爆炸预告", "纵火案", "毒杀事件", "连环事件", "调包事件", "勒索事件",
]
ROLES = [
    "钢琴教师", "魔术师", "小说家", "画家", "园丁", "管家", "厨师", "摄影师", "偶像歌手", "老船长",
    "女演员", "新娘", "邮差", "钟表匠", "天文学家", "私家侦探", "记者", "医生", "模特", "棋手",
    "导演", "面包师", "图书管理员", "守夜人", "调香师", "陶艺家", "花艺师", "老教授", "转学生",
    "双胞胎", "委托人", "目击者", "嫌疑人", "陌生人", "警部", "小提琴手", "出租车司机", "女主播",
]
ADJECTIVES = [
    "消失的", "沉默的", "破碎的", "燃烧的", "被诅咒的", "会说话的", "褪色的", "冰冷的", "看不见的",
    "最后的", "伪造的", "神秘的", "午夜的", "不存在的", "失窃的", "被遗忘的", "藏起来的", "染血的",
]
TIMES = [
    "暴风雨夜", "圣诞夜", "满月之夜", "黄昏", "夏日祭", "文化祭", "新年", "毕业前夜", "台风天",
    "雪夜", "午夜零点", "情人节", "万圣节", "七夕", "梅雨季", "运动会",
]
MOODY_TIMES = [
    "暴风雨夜", "圣诞夜", "满月之夜", "黄昏", "雪夜", "午夜零点", "台风天", "万圣节", "七夕",
    "情人节", "毕业前夜",
]
# Places whose mood suits a time of day or a season ("暴风雨夜的山庄").
MOODY_SITES = [
    "山庄", "洋馆", "别墅", "灯塔", "温泉旅馆", "天文台", "钟楼", "旧校舍", "老宅", "游乐园",
    "摩天轮", "夜行列车", "渡轮", "美术馆", "图书馆",
]
# What can happen at such a time ("圣诞夜的访客").
TIME_NOUNS = [
    "访客", "来信", "密室", "谜题", "证人", "告白", "枪声", "停电", "钟声", "脚步声", "烟火",
    "约定", "交易", "怪盗", "求救电话",
]
ROLE_ENDINGS = [
    "的证言", "的遗言", "的挑战书", "的预告函", "的谎言", "的约定", "的求救信号", "的不在场证明",
    "的足迹", "的秘密", "的陷阱", "的真相", "的回忆", "的委托", "的最后一课",
]
OBJECT_ENDINGS = [
    "之谜", "的秘密", "的暗号", "的真相", "的陷阱", "的诡计", "的回忆", "的倒影", "里的秘密",
    "上的指纹", "中的密码", "的主人", "失窃案",
]
# Verbs with the descriptions they go with ("寻找被遗忘的八音盒").
VERB_PHRASES = [
    ("追踪", ["消失的", "失窃的", "神秘的"]),
    ("寻找", ["被遗忘的", "藏起来的", "消失的", "最后的"]),
    ("守护", ["最后的", "破碎的"]),
    ("夺回", ["失窃的"]),
]
# Subtitles that some longer stories carry between wave dashes.
TAGLINES = [
    "停在三点的指针", "雨夜里的第三个人", "被改写的时刻表", "没有寄出的信", "镜子背面的脸",
    "无人知晓的约定", "最后一班渡轮", "凌晨两点的电话", "沉在湖底的真相", "一分钟的空白",
    "消失在雾中的背影", "第七级台阶", "写在雪地上的名字", "熄灭的灯",
]

# Titles with ASCII letters and digits, placed at fixed episodes so searches that care about
# case and about half-width characters have something to find. Pairs such as X/x and B/b
# appear in both cases in different titles.
ASCII_TITLES = {
    37: "怪盗X的预告函",
    58: "隐藏在钟楼里的第2个谜题",
    96: "未知数x之谜",
    133: "13号站台的证言",
    171: "A座与B座的不在场证明",
    214: "降b小调夜曲的暗号",
    262: "404号房间的密室",
    305: "SOS！来自暴风雨中灯塔的求救信号",
    356: "DJ深夜电台的神秘来电",
    411: "3年B班的转学生",
    468: "7月7日的星之约定",
    523: "CD里的最后一首歌",
    587: "代号K的最后一封信",
    640: "第100位客人的秘密",
    702: "神秘人X的信号",
    748: "k歌房里的消失魔术",
}

# Wording that the Japanese-audio list uses instead of the Mandarin one for the same story.
JAPANESE_WORDING = [
    ("杀人事件", "谋杀案"), ("事件", "案件"), ("之谜", "的谜团"), ("暗号", "密码"),
    ("挑战书", "挑战信"), ("预告函", "预告信"), ("证言", "证词"), ("神秘", "诡异"),
    ("旅馆", "旅店"), ("列车", "火车"), ("消失", "失踪"), ("求救信号", "求救讯号"),
    ("最后的", "最终的"), ("约定", "约誓"), ("寻找", "找寻"), ("秘密", "秘辛"),
]

MOVIE_TITLES = [
    "钟楼的第十三响", "雾港的幽灵船", "星见台的约定", "蓝宝石之眼", "午夜列车谜案", "白鹭湾的镜像",
    "沉睡的古堡", "琥珀色的证言", "迷雾中的灯塔", "消失的摩天轮", "雪原密码", "樱花坂的暗号",
    "风铃与怪盗", "极光下的追踪", "赤色信封之谜", "玻璃迷宫的囚徒", "黄昏的协奏曲", "群星坠落之夜",
]

ALNUM = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789"
LOWER_ALNUM = "abcdefghijklmnopqrstuvwxyz0123456789"


def gbk_len(text):
    return len(text.encode("gbk"))


def story_title(rng):
    town, site, obj, role = rng.choice(TOWNS), rng.choice(SITES), rng.choice(OBJECTS), rng.choice(ROLES)
    place = town + site if rng.random() < 0.55 else site
    verb, verb_adjectives = rng.choice(VERB_PHRASES)
    forms = [
        lambda: place + "的" + obj,
        lambda: place + rng.choice(EVENTS),
        lambda: rng.choice(ADJECTIVES) + obj,
        lambda: obj + rng.choice(OBJECT_ENDINGS),
        lambda: role + rng.choice(ROLE_ENDINGS),
        lambda: role + rng.choice(EVENTS),
        lambda: rng.choice(MOODY_TIMES) + "的" + rng.choice(MOODY_SITES),
        lambda: rng.choice(TIMES) + "的" + rng.choice(TIME_NOUNS),
        lambda: obj + "与" + rng.choice(OBJECTS),
        lambda: town + "的" + role,
        lambda: verb + rng.choice(verb_adjectives) + obj,
        lambda: rng.choice(MOODY_TIMES) + place + rng.choice(EVENTS),
        lambda: place + "里" + rng.choice(ADJECTIVES) + obj,
        lambda: role + "与" + rng.choice(ADJECTIVES) + obj,
        lambda: town + role + rng.choice(EVENTS),
        lambda: place + obj + rng.choice(OBJECT_ENDINGS),
        lambda: "解开" + obj + "的暗号",
        lambda: "揭穿" + role + "的谎言",
    ]
    form = rng.randrange(len(forms))
    title = forms[form]()
    # Only stories about an event carry a subtitle.
    if form in (1, 5, 11, 14) and rng.random() < 0.3:
        title += "～" + rng.choice(TAGLINES) + "～"
    return title


def japanese_wording(title, rng):
    """The same story in the Japanese-audio list's wording: one or two words exchanged."""
    changes = [pair for pair in JAPANESE_WORDING if pair[0] in title]
    rng.shuffle(changes)
    for old, new in changes[: rng.choice((0, 1, 1, 2))]:
        title = title.replace(old, new, 1)
    return title


def episode_titles(rng):
    """Mandarin and Japanese titles, episode by episode; stories of two or three parts
    carry the part in brackets."""
    mandarin, japanese = [], []
    used = set(ASCII_TITLES.values())
    while len(mandarin) < MANDARIN_EPISODES:
        number = len(mandarin) + 1
        if number in ASCII_TITLES:
            story = ASCII_TITLES[number]
            mandarin.append(story)
            japanese.append(japanese_wording(story, rng))
            continue
        roll = rng.random()
        parts = 3 if roll < 0.03 else 2 if roll < 0.20 else 1
        # A story never runs over an episode with a fixed title.
        while parts > 1 and any(number + k in ASCII_TITLES for k in range(parts)):
            parts -= 1
        while True:
            story = story_title(rng)
            if story in used or gbk_len(story) < 8:
                continue
            if parts == 1:
                mandarin_parts = [story]
            elif parts == 2:
                mandarin_parts = [story + "（前篇）", story + "（后篇）"]
            else:
                mandarin_parts = [story + "（上）", story + "（中）", story + "（下）"]
            jp_story = japanese_wording(story, rng)
            if parts == 1:
                jp_parts = [jp_story]
            elif parts == 2:
                jp_parts = [jp_story + "（上篇）", jp_story + "（下篇）"]
            else:
                jp_parts = [jp_story + "（一）", jp_story + "（二）", jp_story + "（三）"]
            if max(map(gbk_len, mandarin_parts)) <= 42 and max(map(gbk_len, jp_parts)) <= 38:
                break
        used.add(story)
        mandarin.extend(mandarin_parts)
        japanese.extend(jp_parts)
    return mandarin[:MANDARIN_EPISODES], japanese[:JAPANESE_EPISODES]


def digits(rng, count):
    return str(rng.randrange(10 ** (count - 1), 10 ** count))


def rising_ids(rng, count, first, last):
    """Ids that grow with the episode, as uploads do: random steps from first towards last."""
    steps = [rng.randrange(1, 1000) for _ in range(count - 1)]
    scale = (last - first) / sum(steps)
    values, value = [first], float(first)
    for step in steps:
        value += step * scale
        values.append(int(value))
    return values


def mandarin_ids(rng):
    sohu = [str(v) for v in rising_ids(rng, MANDARIN_EPISODES, 413_527, 1_864_203)]
    letv = [str(v) for v in rising_ids(rng, MANDARIN_EPISODES, 1_573_908, 21_406_775)]
    iqiyi = []
    for n in range(MANDARIN_EPISODES):
        tv_id = int(10 ** (5.2 + 3.6 * n / MANDARIN_EPISODES) * rng.uniform(0.9, 1.1))
        tv_id = min(max(tv_id, 100_000), 999_999_999)
        iqiyi.append("%032x&tvId=%d" % (rng.getrandbits(128), tv_id))
    pptv = ["".join(rng.choice(ALNUM) for _ in range(rng.randrange(15, 20)))
            for _ in range(MANDARIN_EPISODES)]
    return sohu, letv, iqiyi, pptv


def thumbnail_urls(rng):
    """Addresses on the ten numbered picture hosts; the date in the path rises with the episode."""
    import datetime
    day = datetime.date(2012, 3, 1)
    video = 100_418_352
    urls = []
    for _ in range(MANDARIN_EPISODES):
        day += datetime.timedelta(days=rng.choice((1, 1, 1, 2, 2, 3)))
        video += rng.randrange(1_000, 400_000)
        urls.append("http://pic%d.iqiyipic.com/image/%s/%02x/%02x/v_%d_m_601_160_90.jpg"
                    % (rng.randrange(10), day.strftime("%Y%m%d"), rng.randrange(256),
                       rng.randrange(256), video))
    return urls


def japanese_sohu_ids(rng):
    """Eight-digit Sohu ids, except fourteen later episodes that only Tencent Video carries:
    those hold "*" and the Tencent id."""
    ids = [str(v) for v in rising_ids(rng, JAPANESE_EPISODES, 10_275_316, 79_830_542)]
    # One episode out of each block of six, from episode 686 on.
    tencent_rows = [686 + 6 * k + rng.randrange(6) for k in range(TENCENT_ROWS)]
    for row in tencent_rows:
        ids[row - 1] = "*" + rng.choice("bjmnqrswxyz") + "00" + digits(rng, 2) + "".join(
            rng.choice(LOWER_ALNUM) for _ in range(6))
    return ids, tencent_rows


def youku_id(rng):
    # "X" and the base64 form of a nine-digit number, as the site writes its video ids.
    import base64
    number = str(rng.randrange(100_000_000, 800_000_000))
    return "X" + base64.b64encode(number.encode("ascii")).decode("ascii")


def numbered_list(values):
    return "\r\n".join("%d-%s" % (n, v) for n, v in enumerate(values, 1)).encode("gbk")


def check(tables):
    forms = {
        "mandarinSohuIds": r"[0-9]{6,7}",
        "mandarinLetvIds": r"[0-9]{7,8}",
        "mandarinIqiyiIds": r"[0-9a-f]{32}&tvId=[0-9]{6,9}",
        "mandarinThumbUrls": r"http://pic[0-9]\.iqiyipic\.com/image/20[0-9]{6}/[0-9a-f]{2}/"
                             r"[0-9a-f]{2}/v_[0-9]+_m_601_160_90\.jpg",
        "mandarinPptvIds": r"[A-Za-z0-9]{15,19}",
        "japaneseSohuIds": r"[0-9]{8}|\*[a-z0-9]{11}",
        "movieVideoIds": r"[0-9]{6,8}",
        "movieYoukuIds": r"X[A-Za-z0-9]{12}",
    }
    title_bytes = {"mandarinTitles": (8, 42), "japaneseTitles": (8, 38), "movieTitles": (8, 16)}
    rows = {"mandarin": MANDARIN_EPISODES, "japanese": JAPANESE_EPISODES, "movie": MOVIES}
    for name, values in tables.items():
        data = numbered_list(values)
        lines = data.split(b"\r\n")
        assert not data.endswith(b"\r\n"), name
        assert len(lines) == rows[re.match("[a-z]+", name).group()], name
        for n, line in enumerate(lines, 1):
            number, _, value = line.decode("gbk").partition("-")
            assert number == str(n) and value and "-" not in value and "|" not in value, (name, n)
            if name in forms:
                assert re.fullmatch(forms[name], value), (name, n, value)
            else:
                low, high = title_bytes[name]
                assert low <= gbk_len(value) <= high, (name, n, value)
    assert sum(v.startswith("*") for v in tables["japaneseSohuIds"]) == TENCENT_ROWS
    dates = [re.search(r"/image/([0-9]{8})/", u).group(1) for u in tables["mandarinThumbUrls"]]
    assert dates == sorted(dates) and len(set(dates)) == len(dates)
    assert {u[10] for u in tables["mandarinThumbUrls"]} == set("0123456789")
    # Both cases of one letter, and the 30/31-byte boundary of the detail label's wrapping.
    joined = "".join(tables["mandarinTitles"])
    assert "X" in joined and "x" in joined
    lengths = {gbk_len(t) for t in tables["mandarinTitles"]}
    assert {30, 31} <= lengths, sorted(lengths)


def main():
    out = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).resolve().parents[2] / "catalog" / "data"
    rng = random.Random(SEED)
    mandarin_titles, japanese_titles = episode_titles(rng)
    sohu, letv, iqiyi, pptv = mandarin_ids(rng)
    japanese_sohu, tencent_rows = japanese_sohu_ids(rng)
    tables = {
        "mandarinTitles": mandarin_titles,
        "mandarinSohuIds": sohu,
        "mandarinLetvIds": letv,
        "mandarinIqiyiIds": iqiyi,
        "mandarinThumbUrls": thumbnail_urls(rng),
        "mandarinPptvIds": pptv,
        "japaneseTitles": japanese_titles,
        "japaneseSohuIds": japanese_sohu,
        "movieTitles": MOVIE_TITLES,
        "movieVideoIds": [digits(rng, rng.choice((6, 7, 8))) for _ in range(MOVIES)],
        "movieYoukuIds": [youku_id(rng) for _ in range(MOVIES)],
    }
    check(tables)
    out.mkdir(parents=True, exist_ok=True)
    for name, values in tables.items():
        (out / (name + ".txt")).write_bytes(numbered_list(values))
    ascii_rows = [n for n, t in enumerate(mandarin_titles, 1) if re.search("[A-Za-z]", t)]
    print("wrote %d tables to %s" % (len(tables), out))
    print("Tencent rows of japaneseSohuIds:", " ".join(map(str, tencent_rows)))
    print("Mandarin titles with ASCII letters:", " ".join(map(str, ascii_rows)))


if __name__ == "__main__":
    main()
