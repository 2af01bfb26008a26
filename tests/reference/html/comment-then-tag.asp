<!-- a --><p>after</p>
