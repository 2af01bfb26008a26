<p>a <= b and c < d</p>
