"""Reads the program's accessible tree through AT-SPI (pyatspi) and checks what a screen reader hears.
   accessibility_check.py LANG_FILE      (the English language file, for the expected names)

Every shown control of the main window and of the key dialog: a real role (no picture or filler that takes the
focus), a name when it takes the focus, sliders with a value inside their range; nothing listed that is not shown; toggles, choices, tabs and list rows that say which is
checked or selected, and that follow a change. Prints every problem and exits 1 when there is one."""
import configparser
import sys
import time

import pyatspi

texts = configparser.ConfigParser(interpolation=None, strict=False)
texts.read(sys.argv[1], encoding='utf-8')


def text(key, section='TEXT'):
    return texts.get(section, key).strip('"')


problems = []
VAGUE = {'image', 'filler', 'unknown', 'redundant object', 'invalid'}
# Children of these are rows or popups that scrolling or opening shows; they may be listed while not in view.
ITEM_HOLDERS = {'list', 'tree', 'tree table', 'table', 'combo box'}


def has(acc, state):
    return acc.getState().contains(state)


def nodes(acc, depth=0):
    """The controls below `acc`, without the rows and popups of lists and combo boxes."""
    for i in range(acc.childCount):
        child = acc.getChildAtIndex(i)
        if child is None:
            continue
        yield child
        if child.getRoleName() not in ITEM_HOLDERS:
            yield from nodes(child, depth + 1)


def wait_for(what, find, seconds=20):
    deadline = time.time() + seconds
    while time.time() < deadline:
        try:
            found = find()
        except Exception:  # a node that went away while we looked
            found = None
        if found is not None:
            return found
        time.sleep(0.2)
    sys.exit(f'FAIL: {what} did not appear on the accessibility bus')


def application():
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        if app is not None and app.name == 'ombrel':
            return app
    return None


def top_level(app, role):
    for i in range(app.childCount):
        w = app.getChildAtIndex(i)
        if w is not None and w.getRoleName() == role and has(w, pyatspi.STATE_SHOWING):
            return w
    return None


def find(window, role, name):
    for n in nodes(window):
        if n.getRoleName() == role and n.name == name:
            return n
    problems.append(f'{window.name}: no {role} named {name!r}')
    return None


def check_controls(window):
    """The rules every control of a window keeps."""
    for n in nodes(window):
        role, name = n.getRoleName(), n.name or ''
        where = f'{window.name}: [{role}] {name!r}'
        if not has(n, pyatspi.STATE_SHOWING):
            problems.append(f'{where} is listed but not shown')
            continue
        focusable = has(n, pyatspi.STATE_FOCUSABLE)
        if role in VAGUE and (focusable or n.childCount == 0):
            problems.append(f'{where}: the role does not say what it is')
        if focusable and not name.strip():
            problems.append(f'{where} takes the focus but has no name')
        if role == 'slider':
            try:
                v = n.queryValue()
            except NotImplementedError:
                problems.append(f'{where} has no value')
                continue
            if not v.minimumValue <= v.currentValue <= v.maximumValue or v.minimumValue >= v.maximumValue:
                problems.append(f'{where}: value {v.currentValue} outside [{v.minimumValue}, {v.maximumValue}]')


def check_one_of(window, role, names, state, want=None):
    """Exactly one of a group is checked (or selected); with `want`, that one."""
    group = [find(window, role, name) for name in names]
    if None in group:
        return
    on = [n.name for n in group if has(n, state)]
    if len(on) != 1 or (want is not None and on[0] != want):
        problems.append(f'{window.name}: of {names} {on} say they are on; want exactly {want or "one"}')


def press(acc):
    action = acc.queryAction()
    action.doAction(0)


def eventually(what, condition, seconds=5):
    deadline = time.time() + seconds
    while time.time() < deadline:
        if condition():
            return True
        time.sleep(0.1)
    problems.append(what)
    return False


# ---- the main window ----
app = wait_for('the program', application)
main = wait_for('the main window', lambda: top_level(app, 'frame'))
# The keys are named once the keyboard's assignments are read.
wait_for('the named keys', lambda: next((n for n in nodes(main) if n.name == 'Esc'), None))
if main.name != text('MAIN_CAPTION'):
    problems.append(f'the main window is called {main.name!r}')
check_controls(main)
check_one_of(main, 'radio button', [text('PROFILE_1'), text('PROFILE_2'), text('PROFILE_3')],
             pyatspi.STATE_CHECKED, text('PROFILE_1'))
check_one_of(main, 'radio button', ['1000', '500', '250', '125'], pyatspi.STATE_CHECKED)
for role, name in [('push button', 'A'), ('push button', 'Esc'), ('push button', text('ACC_LAYOUT')),
                   ('push button', text('PROFILE_MACRO')), ('check box', text('Deng', 'LIGHT'))]:
    find(main, role, name)

# The lighting switch is a check box that follows its state; its panel's sliders say their values and take one.
switch = find(main, 'check box', text('Deng', 'LIGHT'))
if switch is not None:
    was_on = has(switch, pyatspi.STATE_CHECKED)
    if not was_on:
        press(switch)
        eventually('the lighting switch does not say it is on after it was pressed',
                   lambda: has(switch, pyatspi.STATE_CHECKED))
    brightness = find(main, 'slider', text('Light', 'LIGHT'))
    find(main, 'slider', text('Speed', 'LIGHT'))
    check_controls(main)
    check_one_of(main, 'radio button', [text('ACC_LIGHT_FORWARD'), text('ACC_LIGHT_BACKWARD')],
                 pyatspi.STATE_CHECKED)
    if brightness is not None:
        value = brightness.queryValue()
        if (value.minimumValue, value.maximumValue) != (0, 5):
            problems.append(f'brightness range [{value.minimumValue}, {value.maximumValue}], want [0, 5]')
        target = 2 if value.currentValue != 2 else 3
        value.currentValue = target
        eventually(f'the brightness slider did not take the value {target} from the screen reader',
                   lambda: brightness.queryValue().currentValue == target)
    backward = find(main, 'radio button', text('ACC_LIGHT_BACKWARD'))
    forward = find(main, 'radio button', text('ACC_LIGHT_FORWARD'))
    if backward is not None and forward is not None:
        other = forward if has(backward, pyatspi.STATE_CHECKED) else backward
        press(other)
        eventually(f'{other.name!r} is not checked after it was pressed', lambda: has(other, pyatspi.STATE_CHECKED))
    press(switch)
    eventually('the lighting switch still says it is on after it was pressed again',
               lambda: not has(switch, pyatspi.STATE_CHECKED))
    eventually('the sliders of the lighting panel stay listed after it was switched off',
               lambda: all(n.getRoleName() != 'slider' for n in nodes(main)))

# ---- the key dialog ----
key = find(main, 'push button', 'A')
if key is not None:
    press(key)
    dialog = wait_for('the key dialog', lambda: top_level(app, 'dialog'))
    if not dialog.name.startswith(text('KEY_SETTING_TISHI')):
        problems.append(f'the key dialog is called {dialog.name!r}')
    check_controls(dialog)
    tabs = [text('SINGLE_KEY'), text('MACRO_SETTING'), text('MULTI_MEDIA'), text('FUNCTION_KEY')]
    check_one_of(dialog, 'page tab', tabs, pyatspi.STATE_SELECTED, text('SINGLE_KEY'))
    check_one_of(dialog, 'radio button', [text('IDS_MACRO_KB_KEY'), text('IDS_MACRO_MOU_KEY')], pyatspi.STATE_CHECKED)
    find(dialog, 'push button', text('ACC_OSK'))
    find(dialog, 'text', text('SINGLE_KEY'))
    mouse = find(dialog, 'list', text('IDS_MACRO_MOU_KEY'))
    if mouse is not None:
        rows = [mouse.getChildAtIndex(i) for i in range(mouse.childCount)]
        rows = [r for r in rows if r is not None and r.getRoleName() == 'list item']
        if len(rows) < 3 or sum(has(r, pyatspi.STATE_SELECTED) for r in rows) != 1:
            problems.append(f'the mouse list has {len(rows)} rows, not one of them selected')
    # The macro page: the tab says it is shown, and its own controls are there, named, and nothing of the key page.
    macro_tab = find(dialog, 'page tab', text('MACRO_SETTING'))
    if macro_tab is not None:
        press(macro_tab)
        eventually('the macro tab does not say it is selected after it was pressed',
                   lambda: has(macro_tab, pyatspi.STATE_SELECTED))
        check_controls(dialog)
        check_one_of(dialog, 'page tab', tabs, pyatspi.STATE_SELECTED, text('MACRO_SETTING'))
        for role, name in [('combo box', text('MACRO_NAME_SETTING').rstrip(':')),
                           ('spin button', text('MACRO_CYCLES').rstrip(':')),
                           ('push button', text('ACC_MACRO_ADD')), ('push button', text('ACC_MACRO_DELETE')),
                           ('check box', text('A_RECORD'))]:
            find(dialog, role, name)
        if any(n.getRoleName() == 'list' and n.name == text('IDS_MACRO_MOU_KEY') for n in nodes(dialog)):
            problems.append('the key page\'s mouse list is still listed on the macro page')
    cancel = find(dialog, 'push button', text('MACRO_CANCLE'))
    if cancel is not None:
        press(cancel)
        eventually('the key dialog stays after Cancel', lambda: top_level(app, 'dialog') is None)

for p in problems:
    print('FAIL', p)
print(f'accessibility: {len(problems)} problem(s)')
sys.exit(1 if problems else 0)
