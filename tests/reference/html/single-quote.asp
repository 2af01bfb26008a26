<p>don't stop</p>
