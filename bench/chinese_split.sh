#!/usr/bin/env bash
# Splitting words by language on a generated Chinese project of 1,000,000
# characters: four candidates and "Unknown", sentences of words drawn from a
# fixed vocabulary with a fixed seed (the same project on every machine).
# Times quillprint-cli with --split-words spaces (every line one word) and
# --split-words language, and reads its peak memory.
#
# Prints one tab-separated row per mode: mode, words of "Unknown", best wall
# seconds of RUNS runs (default 3), peak resident memory in MiB.
#
# Usage: bash bench/chinese_split.sh [path/to/quillprint-cli] [RUNS]
set -euo pipefail

here="$(cd "$(dirname "$0")/.." && pwd)"
cli="${1:-$here/build/bin/quillprint-cli}"
runs="${2:-3}"
[ -x "$cli" ] || { echo "quillprint-cli not found at $cli (build it, or pass its path)" >&2; exit 2; }

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

python3 - "$work/project" <<'PY'
import pathlib, random, sys

# Common words, each one entry of ICU's Chinese dictionary.
VOCABULARY = """我们 他们 你们 今天 明天 昨天 学校 老师 学生 朋友 家里 公园 图书馆 北京 上海 中国 城市 农村 工作 学习
读书 写字 说话 吃饭 睡觉 散步 开心 快乐 认为 觉得 知道 希望 喜欢 需要 应该 可以 已经 正在 一起 非常 特别 比较
因为 所以 但是 如果 虽然 而且 或者 还是 问题 办法 时间 地方 东西 事情 经济 社会 文化 历史 科学 技术 发展 政府
人民 国家 世界 生活 孩子 父母 医生 医院 火车 汽车 飞机 电话 电视 电脑 音乐 电影 故事 文章 语言 汉字 春天 夏天
秋天 冬天 早上 晚上 中午 天气 下雨 阳光 山水 河流 森林 花园 市场 商店 价格 银行 公司 经理 同事 会议 计划 结果
原因 意见 消息 报纸 杂志 书店 大学 中学 小学 考试 成绩 作业 研究 讨论 解决 影响 改变 提高 增加 减少 保护 环境""".split()
FUNCTION = "的 了 在 是 和 也 都 很 就 去 来 到 说 有 看 想 要 会".split()

def sentence(rng):
    words = [rng.choice(VOCABULARY) if rng.random() < 0.7 else rng.choice(FUNCTION)
             for _ in range(rng.randint(5, 14))]
    return "".join(words) + rng.choice("。。，！？")

def text(rng, characters):
    lines, size = [], 0
    while size < characters:
        line = "".join(sentence(rng) for _ in range(rng.randint(1, 4)))
        lines.append(line)
        size += len(line)
    return "\n".join(lines) + "\n"

rng = random.Random(20261210)
root = pathlib.Path(sys.argv[1])
for name, characters in [("Zhang", 230_000), ("Wang", 230_000), ("Li", 230_000), ("Zhao", 230_000),
                         ("Unknown", 80_000)]:
    folder = root / name
    folder.mkdir(parents=True)
    (folder / "text.txt").write_text(text(rng, characters), encoding="utf-8")
PY

printf 'mode\tunknown words\tseconds\tpeak MiB\n'
for mode in spaces language; do
    best=""
    for _ in $(seq "$runs"); do
        start=$(date +%s.%N)
        /usr/bin/time -f '%M' -o "$work/rss" "$cli" --locale zh_CN --jobs 1 --split-words "$mode" \
            "$work/project" >"$work/out" 2>/dev/null
        end=$(date +%s.%N)
        elapsed=$(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.2f", b - a }')
        if [ -z "$best" ] || awk -v e="$elapsed" -v b="$best" 'BEGIN { exit !(e < b) }'; then best=$elapsed; fi
    done
    words=$(awk -F '\t' '$1 == "Unknown" { print $4 }' "$work/out")
    printf '%s\t%s\t%s\t%d\n' "$mode" "$words" "$best" $(( $(cat "$work/rss") / 1024 ))
done
