#!/usr/bin/env python3
"""The e2e games of tests/e2e/games built as pages with tools/web.sh and
played in headless Chromium: what the player sees, hears and answers, and the
exit status the page shows.
    tests/web/web_test.py [-k PATTERN]      (tools/web.sh test runs it)
Prints one closing line: 'N passed, N failed'."""
import concurrent.futures
import math
import os
import shutil
import subprocess
import sys
import time
import unittest
import urllib.parse

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from support import pages  # noqa: E402
from support.chromium import Browser, chromium_path  # noqa: E402

ROOT = pages.ROOT
OUT = os.path.join(ROOT, "build-web", "tests")
GAMES = os.path.join(ROOT, "tests", "e2e", "games")
TIMEOUT = 30
BLUE, RED, WHITE = 0x0000FF, 0xFF0000, 0xFFFFFF

browser = server = None


def setUpModule():
    global browser, server
    if not chromium_path():
        raise unittest.SkipTest("no chromium: apt-get install chromium (tools/setup.sh web)")
    start = time.monotonic()
    shutil.rmtree(OUT, ignore_errors=True)
    resources = os.path.join(OUT, "resources")
    pages.write_png(os.path.join(resources, "Images", "block.png"), 40, 30, (0, 0, 255))
    pages.write_tone_wav(os.path.join(resources, "Sounds", "tone.wav"), 440, 200)
    pages.write_tone_mp3(os.path.join(resources, "Sounds", "tune.mp3"), 660, 2000)
    with open(os.path.join(resources, "Sounds", "broken.mp3"), "wb") as broken:
        broken.write(b"ID3" + bytes(range(256)) * 8)  # looks like an MP3, decodes as nothing
    for width in range(1, 5):
        pages.write_png(os.path.join(resources, "Sprites", "counter", "count", f"{width}.png"), width, 2, (90, 90, 90))
    games = ("scene_view", "input_echo", "dialog_confirm", "fatal_message", "sprite_timer", "returns")
    build = lambda game, built=True: pages.build_page(os.path.join(GAMES, game + ".c"), resources,
                                                      os.path.join(OUT, game), built)
    build(games[0], False)  # the engine too, once
    with concurrent.futures.ThreadPoolExecutor(2) as builders:
        list(builders.map(build, games[1:]))
    print(f"built 6 test pages in {time.monotonic() - start:.0f} s", flush=True)
    server = pages.Server(OUT)
    browser = Browser().__enter__()


def tearDownModule():
    if browser:
        browser.__exit__(None, None, None)
    if server:
        server.close()


def open_game(game, *arguments, environment=None, base=None):
    """The game's page with program arguments and environment variables, once
    its runtime is up."""
    query = [("arg", a) for a in arguments] + [("env", f"{k}={v}") for k, v in (environment or {}).items()]
    url = (base or server.url) + game + "/index.html"
    if query:
        url += "?" + urllib.parse.urlencode(query)
    page = browser.open(url)
    return page


def ended_status(page, timeout=TIMEOUT):
    """The exit status the page shows once the game ended, or None."""
    def status():
        text = page.evaluate("(document.getElementById('status') || {}).textContent || ''")
        return text if "退出码" in text else None
    text = page.wait_for(status, timeout)
    return int(text.split("退出码 ")[1].split("。")[0]) if text else None


def canvas_box(page):
    """Where the game's canvas is on the page: x, y, width, height."""
    return page.evaluate("(() => { const r = document.getElementById('canvas').getBoundingClientRect();"
                         " return [r.x, r.y, r.width, r.height]; })()")


def canvas_picture(page):
    """A screenshot of the game's canvas alone."""
    x, y, width, height = canvas_box(page)
    return pages.Picture(page.screenshot_of(x, y, width, height))


class ScenePage(unittest.TestCase):
    def test_picture_bold_chinese_text_warning_and_sound_calls(self):
        page = open_game("scene_view", environment={"VINDLE_TEST_RESOURCES": "/game"})
        self.assertTrue(page.wait_for_console("ready", TIMEOUT), page.console)
        # The warning is a yellow line in the panel and a warning in the console.
        self.assertTrue(page.console_has("不存在编号为99的文本", "warning"), page.console)
        self.assertEqual(page.evaluate("[...document.querySelectorAll('#console .warning')].map(e => e.textContent)"),
                         ["不存在编号为99的文本"])
        self.assertTrue(page.console_has("missing x=-1"), page.console)
        self.assertTrue(page.console_has("sound wav=0 mp3=0 closed=0 unknown=other"), page.console)

        # The picture's lower-left corner at (200, 20), the text's base line at
        # (20, 100), in a 320 by 200 game.
        self.assertEqual(canvas_box(page)[2:], [320, 200])
        shot = None

        def block_shown():
            nonlocal shot
            shot = canvas_picture(page)
            return shot.find(BLUE)[4] == 40 * 30
        self.assertTrue(page.wait_for(block_shown, TIMEOUT))
        left, top, right, bottom, _ = shot.find(BLUE)
        self.assertEqual((left, top, right, bottom), (200, 200 - 20 - 30, 239, 200 - 20 - 1))
        self.assertEqual(shot.pixel(left - 1, bottom), WHITE)
        text_left, text_top, text_right, text_bottom, count = shot.find(RED)
        self.assertGreater(count, 200)
        base_line = 200 - 100
        self.assertGreaterEqual(text_left, 20)
        self.assertLessEqual(text_right, 20 + 2 * 42)
        self.assertGreaterEqual(text_right - text_left + 1, 56)  # two full-width characters
        self.assertLessEqual(text_bottom, base_line + 10)
        self.assertGreaterEqual(text_top, base_line - 40)
        self.assertGreaterEqual(shot.stroke_width(RED), 4)  # bold

        # The sounds: tune.mp3 was closed, tone.wav is the one voice left,
        # decoded and started; it sounds once the player touched the page.
        voices = page.evaluate("Module.vindleVoices()")
        self.assertEqual([v["path"] for v in voices], ["/game/Sounds/tone.wav"], voices)
        x, y, _, _ = canvas_box(page)
        page.mouse("mousePressed", x + 5, y + 5, "left", 1)
        page.mouse("mouseReleased", x + 5, y + 5, "left", 1)
        self.assertTrue(page.wait_for(lambda: page.evaluate("Module.vindleAudioState()") == "running", TIMEOUT))

        page.press("Escape", "Escape", 27)
        self.assertEqual(ended_status(page), 1)
        self.assertEqual(page.errors, [])


class InputPage(unittest.TestCase):
    def test_keys_and_the_mouse_reach_the_polls_and_the_key_up_handlers(self):
        page = open_game("input_echo")
        self.assertTrue(page.wait_for_console("state pressed=0 normal=0 special=0", TIMEOUT), page.console)
        after = len(page.console_lines())

        def next_line(text):
            nonlocal after
            found = page.wait_for(lambda: next((i for i, line in enumerate(page.console_lines()) if i >= after and
                                                line.startswith(text)), None) is not None, TIMEOUT)
            self.assertTrue(found, f"no '{text}' after line {after}: {page.console_lines()[after:]}")
            after = next(i for i, line in enumerate(page.console_lines()) if i >= after and line.startswith(text)) + 1

        page.key("a", "KeyA", 65, True, "a")
        next_line("state pressed=97 normal=97 special=0 ")
        page.key("a", "KeyA", 65, False)
        next_line("normal-up 97 pressed=97 normal=97")
        next_line("state pressed=0 normal=0 special=0 ")

        page.key("ArrowLeft", "ArrowLeft", 37, True)
        next_line("state pressed=100 normal=0 special=100 ")
        page.key("ArrowLeft", "ArrowLeft", 37, False)
        next_line("special-up 100 pressed=100 special=100")
        next_line("state pressed=0 normal=0 special=100 ")

        # Backspace is the normal key 8, as on the other targets.
        page.press("Backspace", "Backspace", 8)
        next_line("normal-up 8 ")

        # The game is 640 by 480; the scene counts y from the bottom.
        x, y, width, height = canvas_box(page)
        self.assertEqual([width, height], [640, 480])
        x, y = math.ceil(x), math.ceil(y)  # the canvas may start between two pixels
        page.mouse("mouseMoved", x + 100, y + 80)
        next_line("state pressed=0 normal=0 special=100 x=100 y=400 left=0")
        page.mouse("mousePressed", x + 100, y + 80, "left", 1)
        next_line("state pressed=0 normal=0 special=100 x=100 y=400 left=1")
        page.mouse("mouseReleased", x + 100, y + 80, "left", 1)
        next_line("state pressed=0 normal=0 special=100 x=100 y=400 left=0")

        # Escape ends the game from its handler; gameMain returning exits with 1.
        page.press("Escape", "Escape", 27)
        next_line("normal-up 27 pressed=27 normal=27")
        self.assertEqual(ended_status(page), 1)
        self.assertTrue(page.console_has("游戏结束了，退出码 1"))


class DialogPages(unittest.TestCase):
    def test_confirm_is_answered_while_another_thread_changes_the_scene(self):
        for accept, printed in ((True, "confirm=1"), (False, "confirm=0")):
            with self.subTest(accept=accept):
                page = open_game("dialog_confirm")
                box = page.next_dialog(TIMEOUT)
                self.assertEqual(box, ("confirm", "提示\n\n再玩一次？第2局"))
                self.assertFalse(page.console_has("confirm="))
                page.answer_dialog(accept)
                self.assertTrue(page.wait_for_console(printed, TIMEOUT), page.console)
                self.assertEqual(ended_status(page), 1)

    def test_boxes_from_two_threads_come_one_after_the_other(self):
        page = open_game("dialog_confirm", "two")
        texts = []
        for _ in range(2):
            box = page.next_dialog(TIMEOUT)
            self.assertIsNotNone(box, page.console)
            texts.append(box[1])
            page.answer_dialog(True)
        self.assertEqual(sorted(texts), ["提示\n\n线程1", "提示\n\n线程2"])
        self.assertTrue(page.wait_for(lambda: page.console_has("alert 1=1") and page.console_has("alert 2=1"),
                                      TIMEOUT), page.console)

    def test_an_alert_from_a_key_up_handler_runs_on_the_page_thread(self):
        page = open_game("dialog_confirm", "keyup")
        self.assertTrue(page.wait_for_console("ready", TIMEOUT), page.console)
        page.key("a", "KeyA", 65, True, "a")
        page.browser.send("Input.dispatchKeyEvent", {"type": "keyUp", "key": "a", "code": "KeyA",
                                                     "windowsVirtualKeyCode": 65}, page.session)
        box = page.next_dialog(TIMEOUT)
        self.assertEqual(box, ("alert", "提示\n\n松开了a键"))
        page.answer_dialog(True)
        self.assertTrue(page.wait_for_console("keyup alert=1", TIMEOUT), page.console)

    def test_a_fatal_error_shows_its_box_then_the_page_shows_status_255(self):
        page = open_game("fatal_message")
        box = page.next_dialog(TIMEOUT)
        self.assertEqual(box, ("alert", "遇到严重错误，程序即将退出！\n\n已经存在编号为7的文本"))
        self.assertTrue(page.console_has("已经存在编号为7的文本"), page.console)
        # The page waits for the answer (nothing can be asked of it meanwhile).
        time.sleep(0.5)
        self.assertFalse(page.console_has("游戏结束了"))
        page.answer_dialog(True)
        self.assertEqual(ended_status(page), 255)


    def test_a_sound_the_browser_cannot_decode_ends_the_game_with_the_play_fault(self):
        page = open_game("returns", environment={"VINDLE_TEST_RESOURCES": "/game", "VINDLE_TEST_SOUND": "broken.mp3",
                                                 "VINDLE_TEST_DELAY_MS": "20000"})
        box = page.next_dialog(TIMEOUT)
        self.assertEqual(box, ("alert", "遇到严重错误，程序即将退出！\n\n"
                                        "音频文件【broken.mp3】格式不被支持，请换其他普通MP3文件。错误详细信息：MCI接口初始化错误"))
        page.answer_dialog(True)
        self.assertEqual(ended_status(page), 255)
        self.assertTrue(page.console_has("game started"), page.console)


class TimingPages(unittest.TestCase):
    def test_the_window_timer_steps_a_sprite_through_its_frames(self):
        # The folder named as a game written on Windows names it: '\' and
        # another letter case.
        page = open_game("sprite_timer", environment={"VINDLE_TEST_RESOURCES": "\\GAME"})
        self.assertEqual(ended_status(page), 1)
        lines = [line.split() for line in page.console_lines() if line.startswith("width ")]
        self.assertEqual([int(words[1]) for words in lines], [1, 2, 3, 4], page.console)
        times = [int(words[3]) for words in lines]
        for earlier, later in zip(times[1:], times[2:]):
            self.assertGreaterEqual(later - earlier, 200, times)


class Hosting(unittest.TestCase):
    def test_a_host_without_the_isolation_headers_gets_them_from_the_service_worker(self):
        plain = pages.Server(OUT, plain=True)
        try:
            page = open_game("returns", base=plain.url)
            self.assertEqual(ended_status(page), 1)
            self.assertTrue(page.console_has("game started"), page.console)
            self.assertTrue(page.evaluate("crossOriginIsolated"))
            self.assertTrue(page.evaluate("!!navigator.serviceWorker.controller"))
        finally:
            plain.close()


class StarterPage(unittest.TestCase):
    def test_a_new_game_becomes_a_page_with_make_web(self):
        # The starter copies its pictures and sound from the Linux build.
        build = os.environ.get("VINDLE_BUILD_DIR", os.path.join(ROOT, "build"))
        if not os.path.exists(os.path.join(build, "examples", "Images", "bg.png")):
            self.skipTest(f"no Linux build with the examples' resources in {build} (tools/test.sh makes one)")
        folder = os.path.join(OUT, "starter", "mygame")
        shutil.rmtree(os.path.dirname(folder), ignore_errors=True)
        environment = dict(os.environ, VINDLE_BUILD_DIR=build, VINDLE_WEB_ENGINE_BUILT="1")
        subprocess.run([os.path.join(ROOT, "tools", "new-game.sh"), "mygame", folder], check=True,
                       stdout=subprocess.DEVNULL, env=environment)
        made = subprocess.run(["make", "-C", folder, "web"], stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                              text=True, env=environment)
        self.assertEqual(made.returncode, 0, made.stdout)
        self.assertTrue(os.path.exists(os.path.join(folder, "web", "mygame.wasm")))
        page = browser.open(server.url + "starter/mygame/web/index.html")
        self.assertTrue(page.wait_for(lambda: page.evaluate("document.title") == "我的第一个游戏", TIMEOUT))
        self.assertEqual(page.evaluate("document.getElementById('title').textContent"), "我的第一个游戏")
        # Space plays the jump once the game's key handler is in place.
        def jumped():
            page.press(" ", "Space", 32, " ")
            return [v["path"] for v in page.evaluate("Module.vindleVoices()")] == ["/game/Sounds/jump.wav"]
        self.assertTrue(page.wait_for(jumped, TIMEOUT), page.evaluate("Module.vindleVoices()"))
        page.press("Escape", "Escape", 27)
        self.assertEqual(ended_status(page), 1)
        self.assertEqual(page.console_lines("warning"), [])


if __name__ == "__main__":
    result = unittest.main(testRunner=unittest.TextTestRunner(verbosity=2), exit=False).result
    failed = len(result.failures) + len(result.errors)
    skipped = len(result.skipped)
    for reason in sorted({reason for _, reason in result.skipped}):
        print(f"skipped: {reason}")
    print(f"web: {result.testsRun - failed - skipped} passed, {failed} failed" +
          (f", {skipped} skipped" if skipped else ""))
    sys.exit(1 if failed else 0)
