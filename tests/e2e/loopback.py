"""An HTTP server on 127.0.0.1 only: records each request's line and headers in order and
answers with the status and body the test chose, after `delay` seconds, or when `gated` only
after release(); a request for which `hang(headers)` is true gets no answer until the server
closes."""
import http.server
import threading


class LoopbackServer:
    def __init__(self, port=0, status=200, body=b"{}", delay=0, hang=None, gated=False):
        self.status = status
        self.body = body
        self.closing = threading.Event()
        self.gate = threading.Event()
        if not gated:
            self.gate.set()
        self.requests = []  # (request line, [(name, value), ...])
        self.arrived = threading.Condition()
        owner = self

        class Handler(http.server.BaseHTTPRequestHandler):
            def do_GET(self):
                with owner.arrived:
                    owner.requests.append((self.requestline, list(self.headers.items())))
                    owner.arrived.notify_all()
                if owner.hang and owner.hang(dict(self.headers.items())):
                    owner.closing.wait()
                    return
                if delay:
                    owner.closing.wait(delay)
                while not owner.gate.wait(0.1):
                    if owner.closing.is_set():
                        return
                self.send_response(owner.status)
                self.send_header("Content-Type", "application/json")
                self.send_header("Content-Length", str(len(owner.body)))
                self.end_headers()
                self.wfile.write(owner.body)

            def log_message(self, *args):
                pass

        self.hang = hang
        self.server = http.server.ThreadingHTTPServer(("127.0.0.1", port), Handler)
        self.server.daemon_threads = True
        self.thread = threading.Thread(target=self.server.serve_forever, daemon=True)
        self.thread.start()

    def wait_for(self, count, timeout):
        with self.arrived:
            return self.arrived.wait_for(lambda: len(self.requests) >= count, timeout)

    def release(self):
        """Lets gated requests have their answers."""
        self.gate.set()

    def close(self):
        self.closing.set()
        self.server.shutdown()
        self.server.server_close()

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()
