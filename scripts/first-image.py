#!/usr/bin/env python3
"""Opens a page of the viewer in headless Chromium and prints how long it took from the moment the
page opened until it showed its first image and all of its drawing (the page's own timing hooks:
the body's data-first-image and data-whole-image attributes, in milliseconds since navigation
started), with what the console printed. Real time: the browser is driven through its debugging pipe, not with virtual time.

usage: scripts/first-image.py URL [--timeout SECONDS] [--size WIDTHxHEIGHT]
exit status: 0 with the time printed, 1 when no image came within the timeout.
"""
import argparse
import fcntl
import json
import os
import shutil
import subprocess
import sys
import tempfile
import time


class Browser:
    def __init__(self, size):
        self.profile = tempfile.mkdtemp(prefix='first-image-')
        # The browser reads commands from descriptor 3 and writes answers to descriptor 4; the pipes
        # are moved out of the way of those numbers first.
        def high(fd):
            moved = fcntl.fcntl(fd, fcntl.F_DUPFD, 10)
            os.close(fd)
            return moved
        to_browser_read, to_browser_write = map(high, os.pipe())
        from_browser_read, from_browser_write = map(high, os.pipe())
        os.dup2(to_browser_read, 3)
        os.dup2(from_browser_write, 4)
        self.process = subprocess.Popen(
            ['chromium', '--headless', '--no-sandbox', '--disable-gpu', '--enable-unsafe-swiftshader',
             '--disable-quic', '--no-first-run', '--disable-background-networking',
             '--disable-component-update', '--disable-sync', '--remote-debugging-pipe',
             '--window-size=' + size.replace('x', ','), '--user-data-dir=' + self.profile, 'about:blank'],
            pass_fds=(3, 4), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(3)
        os.close(4)
        os.close(to_browser_read)
        os.close(from_browser_write)
        self.out = os.fdopen(to_browser_write, 'wb')
        self.into = os.fdopen(from_browser_read, 'rb')
        self.buffer = b''
        self.next = 0
        self.events = []

    def send(self, method, params=None, session=None):
        self.next += 1
        message = {'id': self.next, 'method': method, 'params': params or {}}
        if session:
            message['sessionId'] = session
        self.out.write(json.dumps(message).encode() + b'\0')
        self.out.flush()
        while True:
            answer = self.receive()
            if answer.get('id') == self.next:
                if 'error' in answer:
                    raise RuntimeError(answer['error'])
                return answer.get('result', {})
            self.events.append(answer)

    def receive(self):
        while b'\0' not in self.buffer:
            chunk = os.read(self.into.fileno(), 1 << 16)
            if not chunk:
                raise RuntimeError('the browser ended')
            self.buffer += chunk
        message, self.buffer = self.buffer.split(b'\0', 1)
        return json.loads(message)

    def close(self):
        try:
            self.send('Browser.close')
        except (RuntimeError, OSError):
            pass
        try:
            self.process.wait(timeout=10)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()
        shutil.rmtree(self.profile, ignore_errors=True)


def console(events):
    lines = []
    for event in events:
        if event.get('method') == 'Runtime.consoleAPICalled':
            p = event['params']
            lines.append('console.%s: %s' % (p['type'], ' '.join(str(a.get('value', a.get('description', '')))
                                                                     for a in p['args'])))
        elif event.get('method') == 'Log.entryAdded':
            e = event['params']['entry']
            lines.append('%s (%s): %s' % (e['level'], e['source'], e['text']))
        elif event.get('method') == 'Runtime.exceptionThrown':
            lines.append('exception: ' + event['params']['exceptionDetails'].get('text', ''))
    return lines


def main():
    parser = argparse.ArgumentParser(description=__doc__.split('\n\n')[0])
    parser.add_argument('url')
    parser.add_argument('--timeout', type=float, default=60)
    parser.add_argument('--size', default='1280x800')
    args = parser.parse_args()
    browser = Browser(args.size)
    try:
        target = browser.send('Target.createTarget', {'url': 'about:blank'})['targetId']
        session = browser.send('Target.attachToTarget', {'targetId': target, 'flatten': True})['sessionId']
        for domain in ('Runtime.enable', 'Log.enable', 'Page.enable'):
            browser.send(domain, session=session)
        browser.send('Page.navigate', {'url': args.url}, session=session)
        until = time.time() + args.timeout
        shown = ''
        while time.time() < until and not shown:
            time.sleep(0.1)
            shown = browser.send('Runtime.evaluate', {
                'expression': "document.body && document.body.getAttribute('data-first-image') || ''",
                'returnByValue': True}, session=session)['result'].get('value', '')
        for line in console(browser.events):
            print(line)
        whole = ''
        while time.time() < until and shown and not whole:
            whole = browser.send('Runtime.evaluate', {
                'expression': "document.body.getAttribute('data-whole-image') || ''",
                'returnByValue': True}, session=session)['result'].get('value', '')
            if not whole:
                time.sleep(0.1)
        if not shown:
            print('no image within %g s' % args.timeout)
            return 1
        print('first image %s ms after the page opened' % shown, flush=True)
        if whole:
            print('all of the drawing %s ms after the page opened' % whole, flush=True)
        return 0
    finally:
        browser.close()


if __name__ == '__main__':
    sys.exit(main())
