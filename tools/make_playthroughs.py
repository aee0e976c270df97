#!/usr/bin/env python3
"""Writes the input files of the demo play-throughs (tests/demo/*.txt), each also played
with keys alone (*-keys.txt) and with the wheel and the left button alone (*-wheel.txt).

Each play-through is a plan: the menu picks in order, and "chance" where a double
click on the chance label belongs. The tool plays the demo headless again and again,
answering every click wait with a click and every menu wait with the next pick of the
plan, until the game ends; the actions it used become the input file.

    python3 tools/make_playthroughs.py build/torami
"""
import json
import subprocess
import sys

PLANS = {
    # The sunrise ending: every branch of the title, the station, the harbour and the
    # shop, the chance taken, the key used at the door.
    'sunrise': [
        'pick 1',             # あそびかた
        'pick 2', 'pick 0',   # おまけ > 鐘を鳴らす
        'pick 2', 'pick 2',   # おまけ > もどる
        'pick 2', 'heading',  # おまけ, back by the heading
        'pick 2', 'pick 1',   # おまけ > 音楽を止める
        'pick 0',             # はじめる
        'pick 0', 'pick 1',   # 駅: 話す, 見まわす
        'pick 2', 'pick 0',   # 持ち物 > 手紙
        'pick 2', 'pick 1',   # 持ち物 > 切符
        'pick 3',             # 港へ行く
        'pick 0', 'pick 0', 'pick 0', 'pick 0',  # 猫 four times: the table wraps
        'pick 3', 'pick 0',   # 歩く > 波止場
        'pick 3', 'pick 1',   # 歩く > 駅をふり返る
        'pick 3', 'pick 2',   # 歩く > もどる
        'pick 2',             # 灯台へ: too dark
        'pick 1',             # 古道具屋
        'pick 0', 'pick 0', 'pick 0', 'pick 0',  # 話を聞く: the key on the third
        'pick 1', 'pick 1',   # 品物を見る: the flashlight, then "already given"
        'pick 2', 'chance',   # 運試し, taken
        'pick 2',             # 運試し again: over
        'pick 3',             # 店を出る
        'pick 1',             # 古道具屋 again (already met)
        'pick 3',             # 店を出る
        'pick 2',             # 灯台へ
        'pick 0',             # 扉を押す
        'pick 1', 'pick 1',   # 持ち物 > 懐中電灯 (back)
        'pick 1', 'pick 0',   # 持ち物 > 真鍮の鍵: the door opens
        'pick 1', 'pick 1',   # 灯室: 持ち物 > 提灯
        'pick 0',             # 灯をともす
    ],
    # The lamp-room ending: the chance missed.
    'lamp': [
        'pick 0', 'pick 3', 'pick 1',
        'pick 0', 'pick 0', 'pick 0',
        'pick 1', 'pick 2', 'pick 3',
        'pick 2', 'pick 1', 'pick 0',
        'pick 0',
    ],
    # The beach ending: giving up in the lamp room; the door tried first, then left.
    'beach': [
        'pick 0', 'pick 3', 'pick 1',
        'pick 0', 'pick 0', 'pick 0', 'pick 1', 'pick 3',
        'pick 2', 'pick 2',   # 灯台へ, 引き返す
        'pick 2', 'pick 1', 'pick 0',
        'pick 2',             # あきらめる
    ],
}


def play(binary, actions):
    run = subprocess.run([binary, '--headless', '--input', '/dev/stdin', 'demo'],
                         input='\n'.join(actions) + '\n', capture_output=True, text=True)
    events = [json.loads(line) for line in run.stdout.splitlines() if line]
    return run.returncode, events


def build(binary, plan):
    actions, step = [], 0
    for _ in range(2000):
        status, events = play(binary, actions)
        end = events[-1]
        if end['reason'] in ('exit', 'eof'):
            if step != len(plan):
                sys.exit(f'the game ended with {len(plan) - step} picks of the plan left')
            return actions
        if end['reason'] != 'input':
            sys.exit(f'stopped: {end["reason"]}: {[e for e in events if e["ev"] == "error"]}')
        waits = [e for e in events if e['ev'] == 'wait' and e['kind'] != 'end']
        kind = waits[-1]['kind']
        if kind == 'menu':
            if step >= len(plan) or plan[step] == 'chance':
                sys.exit(f'a menu waits but the plan says {plan[step:step + 1]}')
            actions.append(plan[step])
            step += 1
        elif step < len(plan) and plan[step] == 'chance':
            actions.append('chance')
            step += 1
        else:
            actions.append('click')
    sys.exit('too many actions')


# The same actions made with keys: Return clicks the message area, a digit picks its
# label, Home goes back to the heading, C double-clicks the chance label.
def with_keys(action):
    if action.startswith('pick '):
        return f'key {int(action.split()[1]) + 1}'
    return {'click': 'key Return', 'heading': 'key Home', 'chance': 'key C'}[action]


# The same actions with the wheel and the left button: a notch down clicks the message area.
def with_wheel(action):
    return 'wheel down' if action == 'click' else action


def write(path, title, actions):
    with open(path, 'w') as f:
        f.write(f'# {title}, made by tools/make_playthroughs.py\n')
        f.write('\n'.join(actions) + '\n')
    print(f'{path}: {len(actions)} actions')


def main():
    binary = sys.argv[1] if len(sys.argv) > 1 else 'build/torami'
    for name, plan in PLANS.items():
        actions = build(binary, plan)
        write(f'tests/demo/{name}.txt', f'The {name} ending of the demo', actions)
        write(f'tests/demo/{name}-keys.txt', f'The {name} ending with keys alone',
              [with_keys(a) for a in actions])
        write(f'tests/demo/{name}-wheel.txt', f'The {name} ending with the wheel and the left button',
              [with_wheel(a) for a in actions])


if __name__ == '__main__':
    main()
