<p>text</p>
<!-- never
closed
